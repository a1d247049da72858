#include "widgets/chart_xy_serie.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"

namespace sundrel::widgets {

CChartXYSerie::CChartXYSerie(CChartCtrl& chart, ChartSerieKind kind) : chart_(chart), kind_(kind) {}

void CChartXYSerie::redraw() {
    chart_.redraw();
}

void CChartXYSerie::setName(const QString& name) {
    name_ = name;
    redraw();
}

void CChartXYSerie::setColor(const QColor& color) {
    color_ = color;
    redraw();
}

void CChartXYSerie::setVisible(bool visible) {
    visible_ = visible;
    redraw();
}

void CChartXYSerie::setShadow(bool on) {
    shadow_ = on;
    redraw();
}

bool CChartXYSerie::keyLess(const SChartXYPoint& a, const SChartXYPoint& b) const {
    const double ka = ordering_ == ChartPointOrdering::ByY ? a.Y : a.X;
    const double kb = ordering_ == ChartPointOrdering::ByY ? b.Y : b.X;
    // NaN keys sort last, so the order stays strict and weak.
    return !std::isnan(ka) && (std::isnan(kb) || ka < kb);
}

bool CChartXYSerie::sortFrom(std::size_t firstUnsorted) {
    const auto less = [this](const SChartXYPoint& a, const SChartXYPoint& b) {
        return keyLess(a, b);
    };
    const auto live = points_.points();
    const auto middle = live.begin() + static_cast<std::ptrdiff_t>(firstUnsorted);
    bool moved = false;
    if (!std::is_sorted(middle, live.end(), less)) {
        std::stable_sort(middle, live.end(), less);
        moved = true;
    }
    if (firstUnsorted > 0 && middle != live.end() && less(*middle, *(middle - 1))) {
        std::inplace_merge(live.begin(), middle, live.end(), less);
        moved = true;
    }
    return moved;
}

void CChartXYSerie::setPointOrdering(ChartPointOrdering ordering) {
    ordering_ = ordering;
    if (ordering_ != ChartPointOrdering::None && sortFrom(0)) {
        envelope_.invalidate();
    }
    redraw();
}

void CChartXYSerie::addPoint(double x, double y) {
    const SChartXYPoint point{x, y};
    if (ordering_ == ChartPointOrdering::None || points_.empty() ||
        !keyLess(point, points_[points_.size() - 1])) {
        points_.append(point);
        envelope_.append(points_.points(), 1);
    } else {
        const auto live = points_.points();
        const auto at = std::upper_bound(
            live.begin(), live.end(), point,
            [this](const SChartXYPoint& a, const SChartXYPoint& b) { return keyLess(a, b); });
        points_.insert(static_cast<std::size_t>(at - live.begin()), point);
        envelope_.invalidate();
    }
    redraw();
}

void CChartXYSerie::addPoints(const double* x, const double* y, std::size_t count) {
    if (x == nullptr || y == nullptr || count == 0) {
        return;
    }
    const std::size_t first = points_.size();
    points_.append(x, y, count);
    if (ordering_ != ChartPointOrdering::None && sortFrom(first)) {
        envelope_.invalidate();
    } else {
        envelope_.append(points_.points(), count);
    }
    redraw();
}

SChartXYPoint CChartXYSerie::point(std::size_t index) const {
    if (index >= points_.size()) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan};
    }
    return points_[index];
}

const ChartEnvelopeIndex& CChartXYSerie::envelopeIndex() const {
    if (!envelope_.isValid()) {
        envelope_.rebuild(points_.points());
    }
    return envelope_;
}

std::optional<std::size_t> CChartXYSerie::nearestByX(double x) const {
    const auto all = points_.points();
    if (all.empty() || std::isnan(x)) {
        return std::nullopt;
    }
    const auto distance = [x](const SChartXYPoint& p) {
        return std::isfinite(p.X) ? std::abs(p.X - x) : std::numeric_limits<double>::infinity();
    };
    const ChartEnvelopeIndex& index = envelopeIndex();
    std::size_t best = 0;
    if (index.isMonotonic() && index.allFinite()) {
        const bool rising = all.back().X >= all.front().X;
        const auto after = std::partition_point(
            all.begin(), all.end(),
            [&](const SChartXYPoint& p) { return rising ? p.X < x : p.X > x; });
        best = static_cast<std::size_t>(after - all.begin());
        if (best == all.size() || (best > 0 && distance(all[best - 1]) <= distance(all[best]))) {
            --best;
        }
    } else {
        for (std::size_t i = 1; i < all.size(); ++i) {
            if (distance(all[i]) < distance(all[best])) {
                best = i;
            }
        }
    }
    if (!std::isfinite(distance(all[best]))) {
        return std::nullopt;
    }
    return best;
}

void CChartXYSerie::removeAllPoints() {
    points_.clear();
    envelope_.clear();
    redraw();
}

void CChartXYSerie::removeLastPoint() {
    points_.removeBack();
    envelope_.invalidate();
    redraw();
}

void CChartXYSerie::removeFirstPoints(std::size_t count) {
    const auto removed = points_.points().first(std::min(count, points_.size()));
    const auto nonFinite = std::count_if(
        removed.begin(), removed.end(),
        [](const SChartXYPoint& p) { return !std::isfinite(p.X) || !std::isfinite(p.Y); });
    envelope_.removeFront(removed.size(), static_cast<std::size_t>(nonFinite));
    points_.removeFront(count);
    redraw();
}

std::optional<ChartRange> CChartXYSerie::extent(bool horizontal) const {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const SChartXYPoint& p : points_.points()) {
        const double v = horizontal ? p.X : p.Y;
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (low > high) {
        return std::nullopt;
    }
    return ChartRange{low, high};
}

void CChartXYSerie::attachMouseListener(CChartSeriesMouseListener<SChartXYPoint>* listener) {
    listener_ = listener;
}

bool CChartXYSerie::wantsMouseEvent(ChartMouseEvent event) const {
    return listener_ != nullptr &&
           (event == ChartMouseEvent::MouseMove ? notifyMove_ : notifyClick_);
}

bool CChartXYSerie::offerMouseEvent(ChartMouseEvent event, QPoint position,
                                    const ChartLayout& layout) {
    if (!visible_ || !wantsMouseEvent(event)) {
        return false;
    }
    const int index = layout.pointUnder(*this, QPointF(position));
    if (index < 0) {
        return false;
    }
    listener_->onMouseEvent(event, position, *this, index);
    return true;
}

}  // namespace sundrel::widgets
