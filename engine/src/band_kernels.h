#pragma once

#include <array>
#include <span>

namespace kestova {

// One linear-phase band-pass kernel: odd length, exactly symmetric, designed
// for 50 samples per metre.
struct BandKernel {
    int band;                      // 1..4: 30-100, 100-300, 300-1000, 1000-3000 mm
    std::span<const double> taps;  // M taps, tap i == tap M-1-i
};

// Bands 1 to 4, in this order.
extern const std::array<BandKernel, 4> kBandKernels;

}  // namespace kestova
