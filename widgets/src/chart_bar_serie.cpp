#include "widgets/chart_bar_serie.h"

#include <algorithm>
#include <cmath>

namespace sundrel::widgets {

CChartBarSerie::CChartBarSerie(CChartCtrl& chart) : CChartXYSerie(chart, ChartSerieKind::Bar) {}

void CChartBarSerie::setBarWidth(int pixels) {
    width_ = std::max(1, pixels);
    redraw();
}

void CChartBarSerie::setBorderColor(const QColor& color) {
    border_ = color;
    redraw();
}

void CChartBarSerie::setBaseLine(bool automatic, double value) {
    automaticBase_ = automatic;
    base_ = value;
    redraw();
}

void CChartBarSerie::setGroupId(unsigned group) {
    group_ = group;
    redraw();
}

void CChartBarSerie::setHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    redraw();
}

std::optional<ChartRange> CChartBarSerie::extent(bool horizontal) const {
    std::optional<ChartRange> range = CChartXYSerie::extent(horizontal);
    const bool valueAxis = horizontal == horizontal_;
    if (range && valueAxis && !automaticBase_ && std::isfinite(base_)) {
        range->minimum = std::min(range->minimum, base_);
        range->maximum = std::max(range->maximum, base_);
    }
    return range;
}

void CChartBarSerie::setValueLabels(bool on, int decimals, const QString& suffix) {
    labels_ = on;
    decimals_ = std::max(0, decimals);
    suffix_ = suffix;
    redraw();
}

QString CChartBarSerie::valueLabel(double value) const {
    return QString::number(value, 'f', decimals_) + suffix_;
}

}  // namespace sundrel::widgets
