#include "widgets/chart_standard_axis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {
namespace {

// Pixels between two tick labels at the least, and between two ticks of an
// automatic step at the least (labels of a few characters need no more).
constexpr double kHorizontalLabelGap = 8.0;
constexpr double kVerticalLabelGap = 2.0;  // line heights carry their own leading
// A fixed step's labels may come closer before some go: the view chose them.
constexpr double kTightHorizontalLabelGap = 3.0;
constexpr double kHorizontalTickSpacing = 56.0;
constexpr double kVerticalTickSpacing = 32.0;
// A fixed step is never drawn denser than one tick per this many pixels.
constexpr double kDensestTicks = 3.0;

bool isStrideMultiple(double value, double step, std::size_t stride) {
    return std::fmod(std::round(value / step), static_cast<double>(stride)) == 0.0;
}

// Whether the labels of ticks `stride` apart (counting from the multiples of
// stride × step) keep `gap` pixels clear of each other, ticks being
// `stepPixels` apart. extents[i] is the extent of tick i's label (0: none).
bool labelsFit(const std::vector<double>& values, const std::vector<double>& extents, double step,
               std::size_t stride, double stepPixels, double gap) {
    std::size_t previous = std::numeric_limits<std::size_t>::max();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!isStrideMultiple(values[i], step, stride) || extents[i] <= 0.0) {
            continue;
        }
        if (previous != std::numeric_limits<std::size_t>::max()) {
            const double distance = static_cast<double>(i - previous) * stepPixels;
            if ((extents[i] + extents[previous]) / 2.0 + gap > distance) {
                return false;
            }
        }
        previous = i;
    }
    return true;
}

}  // namespace

CChartStandardAxis::CChartStandardAxis(CChartCtrl& chart, ChartAxisSlot slot)
    : CChartAxis(chart, slot) {}

void CChartStandardAxis::setAutomaticTickStep() {
    automaticStep_ = true;
    redraw();
}

bool CChartStandardAxis::setTickStep(double step) {
    if (!(step > 0.0) || !std::isfinite(step)) {
        return false;
    }
    step_ = step;
    decimals_ = stepDecimals(step);
    automaticStep_ = false;
    redraw();
    return true;
}

QString CChartStandardAxis::tickLabel(double value, int decimals) const {
    return tickNumber(value, decimals);
}

ChartTickPlan CChartStandardAxis::planTicks(
    ChartRange displayed, double lengthPixels,
    const std::function<double(const QString&)>& labelExtent) const {
    ChartTickPlan plan;
    const double span = displayed.maximum - displayed.minimum;
    if (!(span > 0.0) || !std::isfinite(span) || !(lengthPixels > 0.0)) {
        return plan;
    }
    const double gap = isHorizontal() ? kHorizontalLabelGap : kVerticalLabelGap;
    const double pixelsPerUnit = lengthPixels / span;

    std::vector<double> values;
    std::vector<double> extents;
    std::vector<QString> labels;
    const auto label = [&](int decimals) {
        labels.clear();
        extents.clear();
        for (const double value : values) {
            labels.push_back(tickLabel(value, decimals));
            extents.push_back(labels.back().isEmpty() ? 0.0 : labelExtent(labels.back()));
        }
    };

    std::size_t stride = 1;
    if (!automaticStep_) {
        plan.step = step_;
        plan.decimals = decimals_;
        // Too dense to draw (a zoom out): ticks on multiples of the step.
        const double tooDense = std::ceil(kDensestTicks / (step_ * pixelsPerUnit));
        if (tooDense > 1.0) {
            if (tooDense > 1e12) {
                return plan;
            }
            plan.step = step_ * tooDense;
        }
        const auto most = static_cast<std::size_t>(lengthPixels / kDensestTicks) + 2;
        values = stepMultiples(displayed.minimum, displayed.maximum, plan.step, most);
        label(plan.decimals);
        // Labels on every 1st, 2nd, 4th, 5th, 10th, 20th ... tick, so that the
        // labelled values stay round multiples of the step.
        const double stepPixels = plan.step * pixelsPerUnit;
        const double tightGap = isHorizontal() ? kTightHorizontalLabelGap : gap;
        const std::size_t strides[] = {1, 2, 4, 5};
        for (std::size_t scale = 1, i = 0; stride < values.size(); ++i) {
            stride = strides[i % 4] * scale;
            if (labelsFit(values, extents, plan.step, stride, stepPixels, tightGap)) {
                break;
            }
            if (i % 4 == 3) {
                scale *= 10;
            }
        }
    } else {
        const double spacing = isHorizontal() ? kHorizontalTickSpacing : kVerticalTickSpacing;
        double step = roundStepAtLeast(spacing / pixelsPerUnit);
        for (int attempt = 0; attempt < 64; ++attempt) {
            const auto most = static_cast<std::size_t>(lengthPixels / spacing) + 2;
            values = stepMultiples(displayed.minimum, displayed.maximum, step, most);
            label(stepDecimals(step));
            if (labelsFit(values, extents, step, 1, step * pixelsPerUnit, gap)) {
                break;
            }
            step = nextRoundStep(step);
        }
        plan.step = step;
        plan.decimals = stepDecimals(step);
    }

    plan.ticks.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool labelled = isStrideMultiple(values[i], plan.step, stride);
        plan.ticks.push_back({values[i], labelled ? labels[i] : QString()});
    }
    return plan;
}

}  // namespace sundrel::widgets
