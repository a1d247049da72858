#include "widgets/chart_line_serie.h"

#include <algorithm>

namespace sundrel::widgets {

CChartLineSerie::CChartLineSerie(CChartCtrl& chart) : CChartXYSerie(chart, ChartSerieKind::Line) {}

void CChartLineSerie::setLineWidth(int pixels) {
    width_ = std::max(1, pixels);
    redraw();
}

void CChartLineSerie::setPenStyle(Qt::PenStyle style) {
    style_ = style;
    redraw();
}

void CChartLineSerie::setSmooth(bool smooth) {
    smooth_ = smooth;
    redraw();
}

}  // namespace sundrel::widgets
