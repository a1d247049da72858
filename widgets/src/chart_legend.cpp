#include "widgets/chart_legend.h"

#include <algorithm>

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {

CChartLegend::CChartLegend(CChartCtrl& chart) : chart_(chart) {}

void CChartLegend::setVisible(bool visible) {
    visible_ = visible;
    chart_.redraw();
}

void CChartLegend::dock(ChartDockSide side) {
    docked_ = true;
    side_ = side;
    chart_.redraw();
}

void CChartLegend::undock() {
    docked_ = false;
    chart_.redraw();
}

void CChartLegend::setHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    chart_.redraw();
}

void CChartLegend::setBackgroundColor(const QColor& color) {
    background_ = color;
    chart_.redraw();
}

void CChartLegend::setShadowColor(const QColor& color) {
    shadowColor_ = color;
    chart_.redraw();
}

void CChartLegend::setShadowDepth(int pixels) {
    shadowDepth_ = std::max(0, pixels);
    chart_.redraw();
}

void CChartLegend::setFont(const ChartFont& font) {
    font_ = font;
    chart_.redraw();
}

}  // namespace sundrel::widgets
