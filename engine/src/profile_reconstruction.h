#pragma once

#include <complex>
#include <cstddef>
#include <span>

#include "real_dft.h"

namespace kestova {

inline constexpr std::size_t kMinimumInversionLength = 10;
// Lines where the chord sees less than this fraction of the rail are left as
// they are rather than amplified more than five times.
inline constexpr double kInversionFloor = 0.2;

// Response of the chord to spectral line k of a record of n samples taken at
// 50 samples per metre.
std::complex<double> chordResponse(std::size_t k, std::size_t n);

// Turns chord samples into the rail profile, in place: removes the mean and
// divides every spectral line below Nyquist by the chord's response where
// that response is at least 0.2. Records shorter than 10 samples are left as
// they are.
void reconstructProfile(std::span<double> samples);

// The same with a transform made earlier for records of this length
// (dft.size() == samples.size()): preparing a transform can cost more than
// using it, and the two rails of a pair usually have the same length.
void reconstructProfile(std::span<double> samples, RealDft& dft);

}  // namespace kestova
