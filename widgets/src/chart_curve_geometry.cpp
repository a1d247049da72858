#include "widgets/chart_curve_geometry.h"

#include <algorithm>

namespace sundrel::widgets {

namespace {

// +1 when the screen X grows along the points, −1 when it falls.
double screenDirection(std::span<const SChartXYPoint> points, const ChartLinearMap& mapX) {
    return mapX(points.back().X) >= mapX(points.front().X) ? 1.0 : -1.0;
}

}  // namespace

ChartIndexRun visibleRun(std::span<const SChartXYPoint> points, const ChartLinearMap& mapX,
                         double left, double right) {
    if (points.empty()) {
        return {0, 0};
    }
    // s grows along the points whichever way the axis runs.
    const double direction = screenDirection(points, mapX);
    const auto s = [&](const SChartXYPoint& p) { return direction * mapX(p.X); };
    const double low = direction > 0 ? left : -right;
    const double high = direction > 0 ? right : -left;
    const auto begin = points.begin();
    const auto first = std::partition_point(begin, points.end(),
                                            [&](const SChartXYPoint& p) { return s(p) < low; });
    const auto end = std::partition_point(first, points.end(),
                                          [&](const SChartXYPoint& p) { return s(p) <= high; });
    const auto firstIndex = static_cast<std::size_t>(first - begin);
    const auto endIndex = static_cast<std::size_t>(end - begin);
    return {firstIndex > 0 ? firstIndex - 1 : 0, std::min(endIndex + 1, points.size())};
}

void appendColumnEnvelope(std::span<const SChartXYPoint> points, const ChartEnvelopeIndex& index,
                          ChartIndexRun run, const ChartLinearMap& mapX, const ChartLinearMap& mapY,
                          QPointF offset, std::vector<QPointF>& out) {
    if (run.first >= run.end) {
        return;
    }
    const double direction = screenDirection(points, mapX);
    const auto s = [&](std::size_t i) { return direction * mapX(points[i].X); };
    const auto screen = [&](std::size_t i) {
        return QPointF(mapX(points[i].X), mapY(points[i].Y)) + offset;
    };
    const std::size_t start = out.size();
    std::size_t i = run.first;
    while (i < run.end) {
        // The column ends at the first point with s ≥ its right edge: a
        // galloping search from i, so that a sparse column costs O(1) and a
        // dense one O(log of its points).
        const double edge = std::floor(s(i)) + 1.0;
        std::size_t inside = i;
        std::size_t step = 1;
        while (inside + step < run.end && s(inside + step) < edge) {
            inside += step;
            step *= 2;
        }
        std::size_t lo = inside + 1;
        std::size_t hi = std::min(inside + step, run.end);
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (s(mid) < edge) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        const std::size_t j = lo;  // one past the column's last point
        if (j - i <= kFewPointsPerColumn) {
            for (std::size_t k = i; k < j; ++k) {
                out.push_back(screen(k));
            }
        } else {
            // The column's span, entered from the end nearer the curve so
            // far: the vertical strokes are drawn once and their joins stay
            // inside the envelope.
            const ChartYRange range = index.range(points, i, j);
            const double x = screen(i).x();
            double a = mapY(range.low) + offset.y();
            double b = mapY(range.high) + offset.y();
            const double from = out.size() > start ? out.back().y() : screen(i).y();
            if (std::abs(from - b) < std::abs(from - a)) {
                std::swap(a, b);
            }
            out.push_back(QPointF(x, a));
            out.push_back(QPointF(x, b));
        }
        i = j;
    }
}

bool clipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    const auto inside = [&box](const QPointF& p) {
        return p.x() >= box.left() && p.x() <= box.right() && p.y() >= box.top() &&
               p.y() <= box.bottom();
    };
    if (inside(a) && inside(b)) {
        return true;  // the common case of a curve on its chart: nothing to cut
    }
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                         box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const QPointF start = a;
    if (t1 < 1.0) {
        b = start + t1 * QPointF(dx, dy);
    }
    if (t0 > 0.0) {
        a = start + t0 * QPointF(dx, dy);
    }
    return true;
}

void ColumnReducer::flush() {
    if (count_ == 0) {
        return;
    }
    out_.push_back(first_);
    if (count_ > 1) {
        const bool lowFirst = lowIndex_ <= highIndex_;
        const QPointF& a = lowFirst ? low_ : high_;
        const QPointF& b = lowFirst ? high_ : low_;
        const std::size_t ia = lowFirst ? lowIndex_ : highIndex_;
        const std::size_t ib = lowFirst ? highIndex_ : lowIndex_;
        if (ia != 0) {
            out_.push_back(a);
        }
        if (ib != 0 && ib != count_ - 1 && ib != ia) {
            out_.push_back(b);
        }
        out_.push_back(last_);
    }
    count_ = 0;
}

void smoothCurve(const std::vector<QPointF>& line, std::vector<QPointF>& out,
                 const QRectF& visible) {
    out.clear();
    std::size_t begin = 0;
    while (begin < line.size()) {
        std::size_t end = begin;
        while (end < line.size() && !isCurveBreak(line[end])) {
            ++end;
        }
        if (end > begin) {
            out.push_back(line[begin]);
        }
        for (std::size_t i = begin; i + 1 < end; ++i) {
            const QPointF& p0 = line[i > begin ? i - 1 : i];
            const QPointF& p1 = line[i];
            const QPointF& p2 = line[i + 1];
            const QPointF& p3 = line[i + 2 < end ? i + 2 : i + 1];
            const QPointF c1 = p1 + (p2 - p0) / 6.0;
            const QPointF c2 = p2 - (p3 - p1) / 6.0;
            // How far the control points stray from the chord bounds how far
            // the curve does: 3/4 of it. Pieces of a curve of n pieces stray
            // 1/n² as far.
            const QPointF chord = p2 - p1;
            const double chordLength = std::sqrt(QPointF::dotProduct(chord, chord));
            const auto away = [&](const QPointF& c) {
                const QPointF v = c - p1;
                return chordLength > 0.0
                           ? std::abs(v.x() * chord.y() - v.y() * chord.x()) / chordLength
                           : std::sqrt(QPointF::dotProduct(v, v));
            };
            const double stray = 0.75 * std::max(away(c1), away(c2));
            const double left = std::min({p1.x(), c1.x(), c2.x(), p2.x()});
            const double right = std::max({p1.x(), c1.x(), c2.x(), p2.x()});
            const double top = std::min({p1.y(), c1.y(), c2.y(), p2.y()});
            const double bottom = std::max({p1.y(), c1.y(), c2.y(), p2.y()});
            const bool seen = right >= visible.left() && left <= visible.right() &&
                              bottom >= visible.top() && top <= visible.bottom();
            // Out of sight, or beyond any useful flattening: a straight piece.
            int pieces = 1;
            if (seen && std::isfinite(stray)) {
                pieces =
                    static_cast<int>(std::clamp(std::ceil(std::sqrt(stray / kCurveFlatness)), 1.0,
                                                static_cast<double>(kMostPiecesPerSegment)));
            }
            for (int k = 1; k < pieces; ++k) {
                const double t = static_cast<double>(k) / pieces;
                const double u = 1.0 - t;
                out.push_back(u * u * u * p1 + 3.0 * u * u * t * c1 + 3.0 * u * t * t * c2 +
                              t * t * t * p2);
            }
            out.push_back(p2);
        }
        if (end < line.size()) {
            out.push_back(kCurveBreak);
        }
        begin = end + 1;
    }
}

}  // namespace sundrel::widgets
