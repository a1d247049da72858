#include "analysis/waveform_thinning.h"

namespace sundrel::analysis {

ThinnedWaveform thinWaveform(const double* values, const double* distances, std::size_t n) {
    ThinnedWaveform thinned;
    if (values == nullptr || distances == nullptr || n == 0) {
        return thinned;
    }
    const std::size_t step = n / 1000 + 1;
    thinned.x.reserve(n / step + 1);
    thinned.y.reserve(n / step + 1);
    for (std::size_t i = 0; i < n; i += step) {
        thinned.x.push_back(distances[i]);
        thinned.y.push_back(values[i]);
    }
    return thinned;
}

}  // namespace sundrel::analysis
