#include "spike_filter.h"

#include <cmath>
#include <vector>

#include "running_median.h"

namespace kestova {

void removeSpikes(std::span<double> samples) {
    const std::size_t width = 2 * kMedianHalfWidth + 1;
    if (samples.size() < width) {
        return;
    }
    // Medians are taken over the input, never over corrected samples.
    const std::vector<double> medians = RunningMedian(width).compute(samples);
    for (std::size_t j = 0; j < medians.size(); ++j) {
        double& sample = samples[j + kMedianHalfWidth];
        if (std::fabs(medians[j] - sample) > kSpikeToleranceMm) {
            sample = medians[j];
        }
    }
}

}  // namespace kestova
