#include "widgets/view_chart_style.h"

#include "widgets/chart_axis.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_legend.h"
#include "widgets/chart_title.h"

namespace sundrel::widgets {
namespace {

const QColor kAxisColour(0, 199, 140);
const QString kChartFont = QStringLiteral("Microsoft YaHei");
constexpr int kChartFontSize = 120;  // tenths of a point
constexpr unsigned kSunkenInnerEdge = 8;

}  // namespace

void styleViewChart(widgets::CChartCtrl& chart, const QStringList& titleLines) {
    chart.setEdgeStyle(kSunkenInnerEdge);
    chart.setBorderColor(kAxisColour);
    chart.title()->setVisible(true);
    for (const QString& line : titleLines) {
        chart.title()->addLine(line);
    }
    chart.title()->setFont(kChartFont, kChartFontSize, false, false, false);
    chart.title()->setColor(Qt::black);
}

void styleViewAxis(widgets::CChartAxis& axis, const QString& title) {
    axis.setAutomaticRange(false);
    axis.title()->setText(title);
    axis.title()->setFont(kChartFont, kChartFontSize, false, false, false);
    axis.setColor(kAxisColour);
}

void dockViewLegend(widgets::CChartCtrl& chart) {
    chart.legend()->setVisible(true);
    chart.legend()->dock(widgets::ChartDockSide::Bottom);
    chart.legend()->setHorizontal(true);
    chart.legend()->setBackgroundColor(QColor(255, 227, 132));
    chart.legend()->setShadowColor(Qt::white);
    chart.legend()->setShadowDepth(0);
}

void setViewChartBackground(widgets::CChartCtrl& chart, const QColor& colour) {
    chart.setBackgroundColor(colour);
    chart.setBackgroundGradient(false);
}

}  // namespace sundrel::widgets
