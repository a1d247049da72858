#pragma once

#include <cstddef>
#include <span>

namespace kestova {

inline constexpr std::size_t kMedianHalfWidth = 40;  // 81-sample window
inline constexpr double kSpikeToleranceMm = 0.1;
// How far beyond the window's quartiles a spike lies, in interquartile
// ranges. A sinusoid's extremes lie 0.7 IQR beyond its quartiles; a 0.3 mm
// spike on a rail with 0.05 mm corrugation and roughness at least 3.4 IQR.
inline constexpr double kSpikeFenceFactor = 2.5;

// Replaces a sample by the median of the 81 input samples centred on it when
// all three hold:
//  - it lies more than 0.1 mm from that median;
//  - it lies outside the window's fences, lower quartile - 2.5 IQR .. upper
//    quartile + 2.5 IQR (quartiles: the 21st and 61st of the 81 sorted values);
//  - it lies more than 0.1 mm from the mean of its two neighbours.
// The first condition alone would cut back every corrugation whose chord
// swings more than 0.1 mm. The fences let through whatever the window's own
// spread explains, which covers corrugation of many periods per window; the
// neighbour test lets through smooth long waves whose few periods per window
// give no steady spread. A single-sample spike fails neither.
// The first and last 40 samples are never changed; records of 80 samples or
// fewer are left as they are.
void removeSpikes(std::span<double> samples);

}  // namespace kestova
