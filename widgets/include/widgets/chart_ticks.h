#pragma once

#include <QString>
#include <cstddef>
#include <vector>

namespace sundrel::widgets {

// One tick of an axis: its value in axis units and its label (empty: the
// tick is drawn without a label).
struct ChartTick {
    double value = 0.0;
    QString label;
};

// The ticks of an axis as drawn: the step between them (axis units, > 0), the
// decimals of their labels, and the ticks in increasing value.
struct ChartTickPlan {
    double step = 0.0;
    int decimals = 0;
    std::vector<ChartTick> ticks;
};

// Decimals of the tick labels for a step s > 0: −floor(log10(s)) when that is
// positive, else 0 (4 and 300 give 0, 0.5 gives 1, 0.05 gives 2). Returns 0
// for a step that is not a positive finite number.
int stepDecimals(double step);

// The smallest round step (1, 2 or 5 × 10^k) that is at least `minimum`
// (> 0, finite).
double roundStepAtLeast(double minimum);

// The round step after `step` (1 → 2 → 5 → 10 ...); `step` must be round.
double nextRoundStep(double step);

// Whole multiples of `step` (> 0) inside [minimum, maximum], increasing; a
// multiple within 1e-9 steps outside a bound still counts. Empty when there
// would be more than `maxCount`.
std::vector<double> stepMultiples(double minimum, double maximum, double step,
                                  std::size_t maxCount);

// A tick value as text with `decimals` decimals; never "-0".
QString tickNumber(double value, int decimals);

}  // namespace sundrel::widgets
