#pragma once

#include "widgets/chart_axis.h"

namespace sundrel::widgets {

// A linear axis with numeric tick labels.
//
// Tick step: automatic (the default), or fixed. A fixed step s stores s and
// sets the decimals of the labels to −floor(log10(s)) when that is positive,
// else 0. Ticks sit at whole multiples of the step. An automatic step is the
// smallest round step (1, 2 or 5 × 10^k) whose labels keep clear of each
// other, with decimals by the same rule; setting it leaves the stored fixed
// step and decimals as they were. With a fixed step too dense for its labels
// (after a zoom out), every tick is drawn but only every k-th one labelled.
class CChartStandardAxis : public CChartAxis {
public:
    CChartStandardAxis(CChartCtrl& chart, ChartAxisSlot slot);

    void setAutomaticTickStep();
    // step: axis units, > 0 and finite; anything else is rejected (false).
    bool setTickStep(double step);
    bool isTickStepAutomatic() const { return automaticStep_; }
    // The fixed step set last (0 before any) and its decimals.
    double tickStep() const { return step_; }
    int tickDecimals() const { return decimals_; }

    ChartTickPlan planTicks(
        ChartRange displayed, double lengthPixels,
        const std::function<double(const QString&)>& labelExtent) const override;

    // The label of the tick at `value` whose step has `decimals` decimals.
    virtual QString tickLabel(double value, int decimals) const;

private:
    bool automaticStep_ = true;
    double step_ = 0.0;
    int decimals_ = 0;
};

}  // namespace sundrel::widgets
