#include "chart_line_rasterizer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace sundrel::widgets {
namespace {

// Squared distances from a disc's centre are looked up in steps of 1/32 px².
constexpr float kDiscScale = 32.0f;
// A joint whose directions differ by less than this (sine of the angle)
// needs no round part: the two segments' pixels meet without a notch.
constexpr float kStraightJoint = 0.25f;
// Pixel columns a vertical stroke can cover: a line 15 pixels wide.
constexpr int kMaxSpanColumns = 16;

// floor and ceil for pixel coordinates, without calls into libm.
inline int floorToInt(float v) {
    const int i = static_cast<int>(v);
    return i - (static_cast<float>(i) > v ? 1 : 0);
}
inline int ceilToInt(float v) {
    const int i = static_cast<int>(v);
    return i + (static_cast<float>(i) < v ? 1 : 0);
}

inline std::uint8_t coverageByte(float coverage) {
    return static_cast<std::uint8_t>(std::min(std::max(coverage, 0.0f), 1.0f) * 255.0f + 0.5f);
}

// Each channel of `pixel` times a / 255, two channels per multiplication.
inline std::uint32_t scalePixel(std::uint32_t pixel, std::uint32_t a) {
    std::uint32_t rb = (pixel & 0x00ff00ffu) * a;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
    std::uint32_t ag = ((pixel >> 8) & 0x00ff00ffu) * a;
    ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
    return rb | ag;
}

// 0x80 in each byte of `word` that is not zero, 0 in the others.
inline std::uint64_t nonzeroBytes(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fu;
    return (((word & kLow7) + kLow7) | word) & ~kLow7;
}

// Where the byte i places up from the least significant one of a word
// copied from memory lay in memory.
inline int memoryIndex(int i) {
    return std::endian::native == std::endian::little ? i : 7 - i;
}

}  // namespace

bool ChartLineRasterizer::supports(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ||
           image.format() == QImage::Format_ARGB32_Premultiplied;
}

void ChartLineRasterizer::begin(QImage& image, const QRect& clip, double width) {
    image_ = &image;
    clip_ = clip.intersected(image.rect());
    reach_ = static_cast<float>(std::max(width, 1.0) / 2.0 + 0.5);
    const auto columns = static_cast<std::size_t>(std::max(0, clip_.width()));
    const auto rows = static_cast<std::size_t>(std::max(0, clip_.height()));
    if (mask_.size() < columns * rows) {
        mask_.assign(columns * rows, 0);
    }
    if (blocks_.size() < rows) {
        blocks_.assign(rows, 0);
    }
    blockShift_ = 5;
    while ((std::size_t{1} << blockShift_) * 64 < columns) {
        ++blockShift_;
    }
    firstRow_ = static_cast<int>(rows);
    lastRow_ = -1;
    if (discReach_ != reach_) {
        discReach_ = reach_;
        const auto size = static_cast<std::size_t>(reach_ * reach_ * kDiscScale) + 2;
        discCoverage_.assign(size, 0);  // the last entry stays 0: beyond reach
        for (std::size_t i = 0; i + 1 < size; ++i) {
            const float distance = std::sqrt((static_cast<float>(i) + 0.5f) / kDiscScale);
            discCoverage_[i] = coverageByte(reach_ - distance);
        }
    }
}

inline void ChartLineRasterizer::mark(int row, int x0, int x1) {
    const int b0 = x0 >> blockShift_;
    const int b1 = x1 >> blockShift_;
    const std::uint64_t upTo = b1 >= 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << b1) - 1u;
    blocks_[static_cast<std::size_t>(row)] |= upTo & ~((std::uint64_t{1} << b0) - 1u);
    firstRow_ = std::min(firstRow_, row);
    lastRow_ = std::max(lastRow_, row);
}

void ChartLineRasterizer::addDisc(float cx, float cy) {
    cx -= static_cast<float>(clip_.left());  // clip coordinates from here on
    cy -= static_cast<float>(clip_.top());
    const float reach = reach_;
    const int top = std::max(0, floorToInt(cy - reach));
    const int bottom = std::min(clip_.height() - 1, ceilToInt(cy + reach));
    const int x0 = std::max(0, floorToInt(cx - reach));
    const int x1 = std::min(clip_.width() - 1, ceilToInt(cx + reach));
    if (x1 < x0) {
        return;
    }
    const std::uint8_t* table = discCoverage_.data();
    const float beyond = static_cast<float>(discCoverage_.size() - 1);
    const auto stride = static_cast<std::size_t>(clip_.width());
    for (int y = top; y <= bottom; ++y) {
        const float py = static_cast<float>(y) + 0.5f - cy;
        const float py2 = py * py;
        std::uint8_t* row = mask_.data() + static_cast<std::size_t>(y) * stride;
        float px = static_cast<float>(x0) + 0.5f - cx;
        for (int x = x0; x <= x1; ++x, px += 1.0f) {
            const auto k = static_cast<std::size_t>(std::min((px * px + py2) * kDiscScale, beyond));
            row[x] = std::max(row[x], table[k]);
        }
        mark(y, x0, x1);
    }
}

// The pixels beside the segment a→b, stepping along its major axis: at each
// step (a column of a flat segment, a row of a steep one) the segment covers
// a span of 2·h across, centred on its line, h being the half width w/2
// measured along the minor axis (w/2 divided by the cosine of the slope).
// The pixels at both ends of a span are covered by the part of the span they
// hold, the ones between completely. Steps run over the pixel centres from
// a up to, not including, b, so consecutive segments meet without overlap.
void ChartLineRasterizer::addSlab(float ax, float ay, float bx, float by) {
    ax -= static_cast<float>(clip_.left());  // clip coordinates from here on
    bx -= static_cast<float>(clip_.left());
    ay -= static_cast<float>(clip_.top());
    by -= static_cast<float>(clip_.top());
    const bool flat = std::abs(bx - ax) >= std::abs(by - ay);
    // Major coordinate m, minor coordinate n.
    const float am = flat ? ax : ay;
    const float an = flat ? ay : ax;
    const float bm = flat ? bx : by;
    const float bn = flat ? by : bx;
    const float slope = (bn - an) / (bm - am);
    const float half = (reach_ - 0.5f) * std::sqrt(1.0f + slope * slope);
    const int majorLast = (flat ? clip_.width() : clip_.height()) - 1;
    const int minorLast = (flat ? clip_.height() : clip_.width()) - 1;
    const float low = std::min(am, bm);
    const float high = std::max(am, bm);
    const int m0 = std::max(0, ceilToInt(low - 0.5f));
    int m1 = std::min(majorLast, ceilToInt(high - 0.5f) - 1);  // centres below high
    if (m1 < m0) {
        return;
    }
    // The rows the segment touches, marked once for its columns.
    const float nLow = std::min(an, bn) - half - 1.0f;
    const float nHigh = std::max(an, bn) + half + 1.0f;
    const auto stride = static_cast<std::size_t>(clip_.width());
    std::uint8_t* mask = mask_.data();
    float n = an + (static_cast<float>(m0) + 0.5f - am) * slope;
    for (int m = m0; m <= m1; ++m, n += slope) {
        const float top = n - half;
        const float bottom = n + half;
        const int first = std::max(0, floorToInt(top));
        const int last = std::min(minorLast, floorToInt(bottom));
        for (int k = first; k <= last; ++k) {
            const float inside = std::min(bottom, static_cast<float>(k) + 1.0f) -
                                 std::max(top, static_cast<float>(k));
            std::uint8_t& cell =
                flat ? mask[static_cast<std::size_t>(k) * stride + static_cast<std::size_t>(m)]
                     : mask[static_cast<std::size_t>(m) * stride + static_cast<std::size_t>(k)];
            cell = std::max(cell, coverageByte(inside));
        }
    }
    if (flat) {
        const int top = std::max(0, floorToInt(nLow));
        const int bottom = std::min(clip_.height() - 1, ceilToInt(nHigh));
        for (int row = top; row <= bottom; ++row) {
            mark(row, m0, m1);
        }
    } else {
        const int left = std::max(0, floorToInt(nLow));
        const int right = std::min(clip_.width() - 1, ceilToInt(nHigh));
        for (int row = m0; row <= m1; ++row) {
            mark(row, left, right);
        }
    }
}

void ChartLineRasterizer::addSpan(float x, float top, float bottom) {
    if (clip_.isEmpty()) {
        return;
    }
    x -= static_cast<float>(clip_.left());  // clip coordinates from here on
    top -= static_cast<float>(clip_.top());
    bottom -= static_cast<float>(clip_.top());
    const float half = reach_ - 0.5f;
    const float left = x - half;
    const float right = x + half;
    // Far beyond the clip only its edge matters (and fits an int).
    const float y0 = std::max(top - half, -1.0f);
    const float y1 = std::min(bottom + half, static_cast<float>(clip_.height()) + 1.0f);
    if (!(right >= 0.0f && left <= static_cast<float>(clip_.width()) && y0 <= y1)) {
        return;
    }
    const int c0 = std::max(0, floorToInt(left));
    const int c1 = std::min({clip_.width() - 1, floorToInt(right), c0 + kMaxSpanColumns - 1});
    const int r0 = std::max(0, floorToInt(y0));
    const int r1 = std::min(clip_.height() - 1, floorToInt(y1));
    if (c1 < c0 || r1 < r0) {
        return;
    }
    // The share of each pixel column the stroke covers, the same on every row.
    std::array<float, kMaxSpanColumns> across{};
    for (int c = c0; c <= c1; ++c) {
        across[static_cast<std::size_t>(c - c0)] =
            std::min(right, static_cast<float>(c) + 1.0f) - std::max(left, static_cast<float>(c));
    }
    const auto stride = static_cast<std::size_t>(clip_.width());
    for (int r = r0; r <= r1; ++r) {
        const float down =
            std::min(y1, static_cast<float>(r) + 1.0f) - std::max(y0, static_cast<float>(r));
        std::uint8_t* row = mask_.data() + static_cast<std::size_t>(r) * stride;
        for (int c = c0; c <= c1; ++c) {
            std::uint8_t& cell = row[c];
            cell = std::max(cell, coverageByte(across[static_cast<std::size_t>(c - c0)] * down));
        }
        mark(r, c0, c1);
    }
}

void ChartLineRasterizer::addPolyline(const QPointF* points, std::size_t count) {
    if (clip_.isEmpty() || count == 0) {
        return;
    }
    const auto x = [&](std::size_t i) { return static_cast<float>(points[i].x()); };
    const auto y = [&](std::size_t i) { return static_cast<float>(points[i].y()); };
    addDisc(x(0), y(0));
    float previousX = 0.0f;
    float previousY = 0.0f;
    bool previousFlat = false;
    bool joint = false;  // a segment came before
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const float dx = x(i + 1) - x(i);
        const float dy = y(i + 1) - y(i);
        const float length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 1e-4f)) {
            continue;
        }
        const float ux = dx / length;
        const float uy = dy / length;
        const bool flat = std::abs(dx) >= std::abs(dy);
        // Segments end square to their major axis: the joint needs its round
        // part where the curve turns, or where the major axis changes.
        if (joint &&
            (flat != previousFlat || std::abs(previousX * uy - previousY * ux) > kStraightJoint ||
             previousX * ux + previousY * uy < 0.0f)) {
            addDisc(x(i), y(i));
        }
        addSlab(x(i), y(i), x(i + 1), y(i + 1));
        previousX = ux;
        previousY = uy;
        previousFlat = flat;
        joint = true;
    }
    if (count > 1) {
        addDisc(x(count - 1), y(count - 1));
    }
}

template <bool Opaque>
void ChartLineRasterizer::blend(QRgb color) {
    uchar* bits = image_->bits();
    const auto bytesPerLine = static_cast<std::size_t>(image_->bytesPerLine());
    const std::uint32_t alpha = qAlpha(color);
    const std::uint32_t* scaled = scaledColor_.data();
    const int stride = clip_.width();
    const int block = 1 << blockShift_;
    for (int r = firstRow_; r <= lastRow_; ++r) {
        std::uint64_t blocks = blocks_[static_cast<std::size_t>(r)];
        blocks_[static_cast<std::size_t>(r)] = 0;
        std::uint8_t* row =
            mask_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(stride);
        auto* pixels = reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(r + clip_.top()) *
                                                          bytesPerLine) +
                       clip_.left();
        while (blocks != 0) {
            const int b = std::countr_zero(blocks);
            blocks &= blocks - 1;
            const int end = std::min(stride, (b + 1) * block);
            // Eight mask bytes at a time; only the covered ones are visited.
            for (int x = b * block; x < end; x += 8) {
                const auto count = static_cast<std::size_t>(std::min(8, end - x));
                std::uint64_t eight = 0;
                std::memcpy(&eight, row + x, count);
                if (eight == 0) {
                    continue;
                }
                std::memset(row + x, 0, count);
                std::uint64_t covered = nonzeroBytes(eight);
                while (covered != 0) {
                    const int i = std::countr_zero(covered) / 8;
                    covered &= covered - 1;
                    const auto coverage = static_cast<std::uint32_t>(eight >> (8 * i)) & 0xffu;
                    QRgb& pixel = pixels[x + memoryIndex(i)];
                    if (alpha == 255 && coverage == 255) {
                        pixel = color;
                    } else {
                        // Source over, the source scaled by the coverage.
                        const std::uint32_t keep = 255 - ((alpha * coverage + 127) / 255);
                        const std::uint32_t result = scaled[coverage] + scalePixel(pixel, keep);
                        pixel = Opaque ? (result | 0xff000000u) : result;
                    }
                }
            }
        }
    }
}

void ChartLineRasterizer::finish(QRgb color) {
    if (image_ == nullptr || lastRow_ < firstRow_) {
        return;
    }
    for (std::uint32_t coverage = 0; coverage < 256; ++coverage) {
        scaledColor_[coverage] = scalePixel(color, coverage);
    }
    if (image_->format() == QImage::Format_RGB32) {
        blend<true>(color | 0xff000000u);
    } else {
        blend<false>(color);
    }
    firstRow_ = clip_.height();
    lastRow_ = -1;
}

}  // namespace sundrel::widgets
