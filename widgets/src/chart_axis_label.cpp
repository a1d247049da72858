#include "widgets/chart_axis_label.h"

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {

CChartAxisLabel::CChartAxisLabel(CChartCtrl& chart) : chart_(chart) {}

void CChartAxisLabel::setText(const QString& text) {
    text_ = text;
    chart_.redraw();
}

void CChartAxisLabel::setFont(const ChartFont& font) {
    font_ = font;
    chart_.redraw();
}

void CChartAxisLabel::setFont(const QString& face, int sizeTenths, bool bold, bool italic,
                              bool underline) {
    setFont(ChartFont{face, sizeTenths, bold, italic, underline});
}

}  // namespace sundrel::widgets
