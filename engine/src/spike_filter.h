#pragma once

#include <span>

namespace kestova {

inline constexpr std::size_t kMedianHalfWidth = 40;  // 81-sample window
inline constexpr double kSpikeToleranceMm = 0.1;

// Replaces every sample that lies more than 0.1 mm from the median of the 81
// input samples centred on it. The first and last 40 samples are never
// changed; records of 80 samples or fewer are left as they are.
void removeSpikes(std::span<double> samples);

}  // namespace kestova
