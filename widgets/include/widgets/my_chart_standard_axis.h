#pragma once

#include "widgets/chart_standard_axis.h"

namespace sundrel::widgets {

// The band-name axis of the evaluation view: a standard axis whose tick at
// value v is labelled with the wavelength band n = v + 0.5 truncated toward
// zero: "30-100mm" (1), "100-300mm" (2), "300-1000mm" (3), "1000-3000mm" (4),
// and nothing for any other n. Range, step and drawing are the standard
// axis's.
class CMyChartStandardAxis : public CChartStandardAxis {
public:
    CMyChartStandardAxis(CChartCtrl& chart, ChartAxisSlot slot);

    QString tickLabel(double value, int decimals) const override;
};

}  // namespace sundrel::widgets
