#include "widgets/chart_axis.h"

#include <cmath>
#include <utility>

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {
namespace {

bool isFiniteRange(const ChartRange& range) {
    return std::isfinite(range.minimum) && std::isfinite(range.maximum);
}

// A range that can be drawn: finite, minimum < maximum. An empty range is
// widened by a tenth of its value (by 1 around 0) on each side.
ChartRange drawable(ChartRange range) {
    if (!isFiniteRange(range)) {
        return {0.0, 1.0};
    }
    if (range.minimum > range.maximum) {
        std::swap(range.minimum, range.maximum);
    }
    const double middle = 0.5 * (range.minimum + range.maximum);
    if (range.maximum - range.minimum <= std::abs(middle) * 1e-13) {
        const double half = middle != 0.0 ? std::abs(middle) * 0.1 : 1.0;
        return {middle - half, middle + half};
    }
    return range;
}

}  // namespace

CChartAxis::CChartAxis(CChartCtrl& chart, ChartAxisSlot slot)
    : chart_(chart), slot_(slot), title_(chart) {}

void CChartAxis::redraw() {
    chart_.redraw();
}

void CChartAxis::setVisible(bool visible) {
    visible_ = visible;
    redraw();
}

bool CChartAxis::setRange(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        return false;
    }
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    range_ = {minimum, maximum};
    automaticRange_ = false;
    zoomed_ = false;
    redraw();
    return true;
}

void CChartAxis::setAutomaticRange(bool automatic) {
    automaticRange_ = automatic;
    redraw();
}

void CChartAxis::setInverted(bool inverted) {
    inverted_ = inverted;
    redraw();
}

void CChartAxis::setColor(const QColor& color) {
    color_ = color;
    redraw();
}

void CChartAxis::setGridVisible(bool visible) {
    gridVisible_ = visible;
    redraw();
}

void CChartAxis::setTickLabelFont(const ChartFont& font) {
    tickFont_ = font;
    redraw();
}

bool CChartAxis::zoomTo(ChartRange displayed) {
    if (!isFiniteRange(displayed) || !(displayed.minimum < displayed.maximum)) {
        return false;
    }
    zoom_ = displayed;
    zoomed_ = true;
    redraw();
    return true;
}

void CChartAxis::resetZoom() {
    if (zoomed_) {
        zoomed_ = false;
        redraw();
    }
}

ChartRange CChartAxis::displayedRange(const std::optional<ChartRange>& dataExtent) const {
    if (zoomed_) {
        return drawable(zoom_);
    }
    if (automaticRange_) {
        return drawable(dataExtent.value_or(ChartRange{0.0, 1.0}));
    }
    return drawable(range_);
}

ChartAxisScale CChartAxis::scale(ChartRange displayed, double first, double last) const {
    ChartAxisScale scale;
    scale.range = drawable(displayed);
    scale.first = first;
    scale.last = last > first ? last : first + 1.0;
    scale.horizontal = isHorizontal();
    scale.inverted = inverted_;
    return scale;
}

}  // namespace sundrel::widgets
