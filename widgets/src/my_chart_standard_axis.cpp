#include "widgets/my_chart_standard_axis.h"

#include <cmath>

namespace sundrel::widgets {

CMyChartStandardAxis::CMyChartStandardAxis(CChartCtrl& chart, ChartAxisSlot slot)
    : CChartStandardAxis(chart, slot) {}

QString CMyChartStandardAxis::tickLabel(double value, int /*decimals*/) const {
    const double shifted = std::trunc(value + 0.5);
    if (shifted == 1.0) {
        return QStringLiteral("30-100mm");
    }
    if (shifted == 2.0) {
        return QStringLiteral("100-300mm");
    }
    if (shifted == 3.0) {
        return QStringLiteral("300-1000mm");
    }
    if (shifted == 4.0) {
        return QStringLiteral("1000-3000mm");
    }
    return QString();
}

}  // namespace sundrel::widgets
