#pragma once

#include <QPointF>
#include <QRectF>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <vector>

#include "widgets/chart_envelope_index.h"
#include "widgets/chart_xy_point.h"

// The geometry of a curve on screen, before it is drawn: runs separated by
// breaks, clipping to the plot, dense points reduced per pixel column, and
// smoothing through the points.
namespace sundrel::widgets {

// Separates the runs of a curve where a value has no place on screen.
inline const QPointF kCurveBreak{std::numeric_limits<double>::quiet_NaN(), 0.0};
inline bool isCurveBreak(const QPointF& p) {
    return std::isnan(p.x());
}

// A value to a screen coordinate along one axis.
struct ChartLinearMap {
    double origin;  // pixel of the minimum
    double minimum;
    double slope;  // pixels per unit, signed
    double operator()(double v) const { return origin + (v - minimum) * slope; }
};

// The points of a curve with monotonic X that fall between the screen
// columns `left` and `right`, with the point next to them on either side
// (so that the lines leaving the plot are drawn): [first, end).
struct ChartIndexRun {
    std::size_t first;
    std::size_t end;
};
ChartIndexRun visibleRun(std::span<const SChartXYPoint> points, const ChartLinearMap& mapX,
                         double left, double right);

// A column holding this many points or fewer is drawn through its points;
// more, less than a pixel apart, look the same as the span they cover.
inline constexpr std::size_t kFewPointsPerColumn = 2;

// The screen points of points[run] (X monotonic, all values finite) per pixel
// column: the points themselves where a column holds kFewPointsPerColumn or
// fewer, else its lowest and highest values (from `index`), in the order
// that continues the curve from the column before; all offset by `offset`.
// The cost is set by the number of columns, not of points.
void appendColumnEnvelope(std::span<const SChartXYPoint> points, const ChartEnvelopeIndex& index,
                          ChartIndexRun run, const ChartLinearMap& mapX, const ChartLinearMap& mapY,
                          QPointF offset, std::vector<QPointF>& out);

// Liang–Barsky: clips the segment a→b to `box`; false when nothing is left.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& box);

// Points of one pixel column reduced to the first, lowest, highest and last,
// in their order, so that a dense curve keeps its envelope and its joins.
class ColumnReducer {
public:
    explicit ColumnReducer(std::vector<QPointF>& out) : out_(out) {}

    // Inline: it runs once for every point of a dense curve.
    void add(const QPointF& p) {
        const double column = std::floor(p.x());
        if (count_ > 0 && column == column_) {
            if (p.y() < low_.y()) {
                low_ = p;
                lowIndex_ = count_;
            }
            if (p.y() > high_.y()) {
                high_ = p;
                highIndex_ = count_;
            }
            last_ = p;
            ++count_;
            return;
        }
        flush();
        column_ = column;
        first_ = low_ = high_ = last_ = p;
        lowIndex_ = highIndex_ = 0;
        count_ = 1;
    }
    // Ends the current column (before a break, and at the end).
    void flush();

private:
    std::vector<QPointF>& out_;
    double column_ = 0.0;
    QPointF first_, low_, high_, last_;
    std::size_t lowIndex_ = 0;
    std::size_t highIndex_ = 0;
    std::size_t count_ = 0;
};

// A flattened Bézier piece strays at most this far from the curve, pixels.
inline constexpr double kCurveFlatness = 0.2;
inline constexpr int kMostPiecesPerSegment = 32;

// Replaces the points of `line` (runs separated by breaks) by the flattened
// Bézier curve through them: between p1 and p2 the control points are
// p1 + (p2 − p0) / 6 and p2 − (p3 − p1) / 6 (Catmull-Rom tangents, the ends
// repeated). Pieces outside `visible` stay straight.
void smoothCurve(const std::vector<QPointF>& line, std::vector<QPointF>& out,
                 const QRectF& visible);

}  // namespace sundrel::widgets
