#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace sundrel::widgets {
class CChartAxis;
class CChartCtrl;
}  // namespace sundrel::widgets

namespace sundrel::analysis {

// The look every analysis chart shares: sunken edge, green plot border and
// axes, black title lines and axis titles in the chart font, and the yellow
// legend docked under the plot.
void styleViewChart(widgets::CChartCtrl& chart, const QStringList& titleLines);
void styleViewAxis(widgets::CChartAxis& axis, const QString& title);
void dockViewLegend(widgets::CChartCtrl& chart);
// The chart's background follows its view's, without a gradient.
void setViewChartBackground(widgets::CChartCtrl& chart, const QColor& colour);

}  // namespace sundrel::analysis
