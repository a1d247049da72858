#include "widgets/chart_title.h"

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {

CChartTitle::CChartTitle(CChartCtrl& chart) : chart_(chart) {}

void CChartTitle::setVisible(bool visible) {
    visible_ = visible;
    chart_.redraw();
}

void CChartTitle::addLine(const QString& line) {
    lines_.append(line);
    chart_.redraw();
}

void CChartTitle::removeAllLines() {
    lines_.clear();
    chart_.redraw();
}

void CChartTitle::setFont(const ChartFont& font) {
    font_ = font;
    chart_.redraw();
}

void CChartTitle::setFont(const QString& face, int sizeTenths, bool bold, bool italic,
                          bool underline) {
    setFont(ChartFont{face, sizeTenths, bold, italic, underline});
}

void CChartTitle::setColor(const QColor& color) {
    color_ = color;
    chart_.redraw();
}

}  // namespace sundrel::widgets
