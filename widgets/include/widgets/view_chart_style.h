#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace sundrel::widgets {

class CChartAxis;
class CChartCtrl;

// The look every view's chart shares: sunken edge, green plot border and
// axes, black title lines and axis titles in the chart font, and the yellow
// legend docked under the plot.
void styleViewChart(CChartCtrl& chart, const QStringList& titleLines);
void styleViewAxis(CChartAxis& axis, const QString& title);
void dockViewLegend(CChartCtrl& chart);
// The chart's background follows its view's, without a gradient.
void setViewChartBackground(CChartCtrl& chart, const QColor& colour);

}  // namespace sundrel::widgets
