#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRgb>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sundrel::widgets {

// Draws anti-aliased wide curves straight into a 32-bit image, many times
// faster than QPainter strokes them.
//
// A pixel is covered by clamp(w/2 + 0.5 − d, 0, 1), d being the distance of
// its centre from the curve and w the width. Each segment covers the pixels
// beside it, where d is the distance from its line, a linear function along
// a row; a disc around both ends and around every joint that turns makes the
// caps and joins round. The pieces of a curve meet in a coverage mask where
// the largest coverage wins, so nothing is blended twice; the curve's colour
// is then blended once into the pixels it covers, found through a mark per
// row and block of 32 (or more) pixels.
class ChartLineRasterizer {
public:
    // Whether curves can be drawn into `image` (RGB32 or premultiplied ARGB32).
    static bool supports(const QImage& image);

    // Starts a curve of `width` pixels (> 0) on a supported `image`, clipped
    // to `clip` (image pixels).
    void begin(QImage& image, const QRect& clip, double width);
    // One connected piece of the curve, points in image pixels.
    void addPolyline(const QPointF* points, std::size_t count);
    // A vertical stroke at x from y = top to y = bottom (top <= bottom),
    // its ends cut square half the width beyond them.
    void addSpan(float x, float top, float bottom);
    // Blends `color` (premultiplied) into the covered pixels and clears the
    // mask for the next curve.
    void finish(QRgb color);

private:
    void addSlab(float ax, float ay, float bx, float by);
    void addDisc(float cx, float cy);
    void mark(int row, int x0, int x1);
    template <bool Opaque>
    void blend(QRgb color);

    QImage* image_ = nullptr;
    QRect clip_;
    float reach_ = 1.0f;  // w/2 + 0.5: coverage falls to 0 at this distance
    int blockShift_ = 6;
    std::vector<std::uint8_t> mask_;     // coverage per clip pixel, 0..255
    std::vector<std::uint64_t> blocks_;  // per clip row: blocks holding coverage
    int firstRow_ = 0;
    int lastRow_ = -1;
    std::vector<std::uint8_t> discCoverage_;  // by squared distance × kDiscScale
    float discReach_ = -1.0f;
    std::array<std::uint32_t, 256> scaledColor_{};  // the colour × coverage / 255
};

}  // namespace sundrel::widgets
