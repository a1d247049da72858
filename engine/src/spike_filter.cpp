#include "spike_filter.h"

#include <cmath>
#include <utility>
#include <vector>

#include "running_median.h"

namespace kestova {

void removeSpikes(std::span<double> samples) {
    const std::size_t width = 2 * kMedianHalfWidth + 1;
    if (samples.size() < width) {
        return;
    }
    const std::size_t lowerQuartile = width / 4;
    const std::size_t upperQuartile = width - 1 - width / 4;
    // Windows are taken over the input, never over corrected samples, so the
    // replacements wait until every window has been seen.
    std::vector<std::pair<std::size_t, double>> replacements;
    RunningMedian(width).forEachWindow(
        samples, [&](std::size_t first, std::span<const double> sorted) {
            const std::size_t i = first + kMedianHalfWidth;
            const double sample = samples[i];
            const double median = sorted[kMedianHalfWidth];
            if (!(std::fabs(median - sample) > kSpikeToleranceMm)) {
                return;
            }
            if (!(std::fabs(sample - (samples[i - 1] + samples[i + 1]) / 2) > kSpikeToleranceMm)) {
                return;
            }
            const double q1 = sorted[lowerQuartile];
            const double q3 = sorted[upperQuartile];
            const double reach = kSpikeFenceFactor * (q3 - q1);
            if (sample > q3 + reach || sample < q1 - reach) {
                replacements.emplace_back(i, median);
            }
        });
    for (const auto& [i, median] : replacements) {
        samples[i] = median;
    }
}

}  // namespace kestova
