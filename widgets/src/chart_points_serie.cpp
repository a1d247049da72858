#include "widgets/chart_points_serie.h"

#include <algorithm>

namespace sundrel::widgets {

CChartPointsSerie::CChartPointsSerie(CChartCtrl& chart)
    : CChartXYSerie(chart, ChartSerieKind::Points) {}

void CChartPointsSerie::setMarkerSize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    redraw();
}

void CChartPointsSerie::setMarkerBorderColor(const QColor& color) {
    border_ = color;
    redraw();
}

}  // namespace sundrel::widgets
