#include "band_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <span>
#include <vector>

namespace kestova {
namespace {

constexpr double kSamplesPerMetre = 50.0;
constexpr double kNyquist = kSamplesPerMetre / 2.0;

// The required response of one band. Wavelengths are in metres; every
// wavelength longer than stopLong (and shorter than stopShort, when that is
// non-zero) is a stop band. The ripple interval is held over the whole range
// where the gain must be at least 0.9.
struct Mask {
    int band;
    std::size_t length;
    double stopLong;
    double stopLongLimit;
    double passLong;
    double passShort;
    double rippleLow;
    double rippleHigh;
    double stopShort;
    double stopShortLimit;
    double minus6Long;
    double minus6Short;
};

constexpr std::array<Mask, 4> kMasks = {{
    // Band 1 has no stop band below Nyquist on the short side; see Band1VanishesAtNyquist.
    {1, 279, 0.1075, 0.0001, 0.1004, 0.0416, 0.95, 1.03, 0.0, 0.0, 0.1017, 0.0414},
    {2, 105, 0.435, 0.023, 0.3101, 0.0990, 0.95, 1.03, 0.087, 0.037, 0.3448, 0.0949},
    {3, 279, 1.667, 0.016, 1.039, 0.2867, 0.91, 1.05, 0.256, 0.003, 1.194, 0.2778},
    {4, 419, 33.0, 0.021, 3.810, 0.941, 0.92, 1.00, 0.690, 0.0013, 6.667, 0.851},
}};

// The -6 dB wavelengths are nominal; an equiripple design lands near them.
constexpr double kMinus6Tolerance = 0.03;

// Real zero-phase amplitude at f cycles per metre of an odd symmetric kernel.
double amplitude(std::span<const double> taps, double f) {
    const std::size_t delay = (taps.size() - 1) / 2;
    double sum = taps[delay];
    for (std::size_t m = 1; m <= delay; ++m) {
        sum += 2.0 * taps[delay + m] *
               std::cos(2.0 * std::numbers::pi * f * static_cast<double>(m) / kSamplesPerMetre);
    }
    return sum;
}

double gain(std::span<const double> taps, double f) {
    return std::fabs(amplitude(taps, f));
}

// A dense grid plus the exact edge frequencies, so no limit is judged only
// between grid points.
std::vector<double> frequencyGrid(const Mask& mask) {
    constexpr int kSteps = 20000;
    std::vector<double> f;
    for (int i = 0; i <= kSteps; ++i) {
        f.push_back(kNyquist * i / kSteps);
    }
    for (double wavelength : {mask.stopLong, mask.passLong, mask.passShort, mask.stopShort}) {
        if (wavelength > 0.0) {
            f.push_back(1.0 / wavelength);
        }
    }
    std::sort(f.begin(), f.end());
    return f;
}

// Feeds a sampled sinusoid through the kernel as a causal filter and returns
// the factor relating the steady-state output to the input delayed by
// (M-1)/2 samples, checking on the way that the output is exactly that.
double sinusoidGain(std::span<const double> taps, double wavelength) {
    const std::size_t length = taps.size();
    const std::size_t delay = (length - 1) / 2;
    std::vector<double> input(length + 2000);
    for (std::size_t i = 0; i < input.size(); ++i) {
        const double x = static_cast<double>(i) / kSamplesPerMetre;
        input[i] = std::sin(2.0 * std::numbers::pi * x / wavelength + 0.3);
    }
    std::vector<double> output(input.size());
    double crossSum = 0.0;
    double inputSum = 0.0;
    for (std::size_t i = length - 1; i < input.size(); ++i) {
        for (std::size_t k = 0; k < length; ++k) {
            output[i] += taps[k] * input[i - k];
        }
        crossSum += output[i] * input[i - delay];
        inputSum += input[i - delay] * input[i - delay];
    }
    const double factor = crossSum / inputSum;
    double worstResidual = 0.0;
    for (std::size_t i = length - 1; i < input.size(); ++i) {
        worstResidual = std::max(worstResidual, std::fabs(output[i] - factor * input[i - delay]));
    }
    EXPECT_LT(worstResidual, 1e-9) << "output is not a scaled, delayed copy of the input";
    return std::fabs(factor);
}

TEST(BandKernel, HasExpectedBandsAndLengths) {
    for (std::size_t i = 0; i < kBandKernels.size(); ++i) {
        EXPECT_EQ(kBandKernels[i].band, kMasks[i].band);
        EXPECT_EQ(kBandKernels[i].taps.size(), kMasks[i].length);
    }
}

TEST(BandKernel, IsExactlySymmetric) {
    for (const BandKernel& kernel : kBandKernels) {
        SCOPED_TRACE(kernel.band);
        const std::span<const double> taps = kernel.taps;
        for (std::size_t i = 0; i < taps.size(); ++i) {
            EXPECT_EQ(taps[i], taps[taps.size() - 1 - i]) << "tap " << i;
        }
    }
}

TEST(BandKernel, MeetsResponseMask) {
    for (std::size_t b = 0; b < kBandKernels.size(); ++b) {
        const Mask& mask = kMasks[b];
        const std::span<const double> taps = kBandKernels[b].taps;
        SCOPED_TRACE(mask.band);
        // Worst cases per region keep a failure report to one line each.
        double stopLongWorst = 0.0;
        double stopShortWorst = 0.0;
        double passMin = 2.0;
        double passMax = 0.0;
        for (double f : frequencyGrid(mask)) {
            const double g = gain(taps, f);
            if (f <= 1.0 / mask.stopLong) {
                stopLongWorst = std::max(stopLongWorst, g);
            }
            if (mask.stopShort > 0.0 && f >= 1.0 / mask.stopShort) {
                stopShortWorst = std::max(stopShortWorst, g);
            }
            if (f >= 1.0 / mask.passLong && f <= 1.0 / mask.passShort) {
                passMin = std::min(passMin, g);
                passMax = std::max(passMax, g);
            }
        }
        EXPECT_LT(stopLongWorst, mask.stopLongLimit);
        if (mask.stopShort > 0.0) {
            EXPECT_LT(stopShortWorst, mask.stopShortLimit);
        }
        EXPECT_GE(passMin, 0.9);
        EXPECT_GE(passMin, mask.rippleLow);
        EXPECT_LE(passMax, mask.rippleHigh);
    }
}

TEST(BandKernel, HalfGainNearNominalWavelengths) {
    for (std::size_t b = 0; b < kBandKernels.size(); ++b) {
        const Mask& mask = kMasks[b];
        const std::span<const double> taps = kBandKernels[b].taps;
        SCOPED_TRACE(mask.band);
        const std::vector<double> grid = frequencyGrid(mask);
        std::vector<double> crossings;
        bool wasAbove = gain(taps, grid.front()) >= 0.5;
        for (std::size_t i = 1; i < grid.size(); ++i) {
            const bool isAbove = gain(taps, grid[i]) >= 0.5;
            if (isAbove == wasAbove) {
                continue;
            }
            // One grid step is about 1 % of the wavelength near band 4's long
            // edge, too coarse to judge a tolerance of a few percent.
            double lo = grid[i - 1];
            double hi = grid[i];
            for (int step = 0; step < 60; ++step) {
                const double mid = 0.5 * (lo + hi);
                if ((gain(taps, mid) >= 0.5) == wasAbove) {
                    lo = mid;
                } else {
                    hi = mid;
                }
            }
            crossings.push_back(0.5 * (lo + hi));
            wasAbove = isAbove;
        }
        // A band pass crosses half gain once on each side of its pass band.
        ASSERT_EQ(crossings.size(), 2u);
        EXPECT_NEAR(1.0 / crossings[0] / mask.minus6Long, 1.0, kMinus6Tolerance);
        EXPECT_NEAR(1.0 / crossings[1] / mask.minus6Short, 1.0, kMinus6Tolerance);
    }
}

// 30 mm lies beyond the 40 mm Nyquist wavelength, so band 1 must instead
// roll off to nothing at Nyquist rather than pass the alternating sequence.
TEST(BandKernel, Band1VanishesAtNyquist) {
    EXPECT_LT(gain(kBandKernels[0].taps, kNyquist), 0.01);
}

TEST(BandKernel, SinusoidsPassOnlyTheirBand) {
    const double band1At60mm = sinusoidGain(kBandKernels[0].taps, 0.060);
    EXPECT_GE(band1At60mm, 0.95);
    EXPECT_LE(band1At60mm, 1.03);

    // 2 m is longer than every long-side stop edge of bands 1 to 3.
    const double band4At2m = sinusoidGain(kBandKernels[3].taps, 2.0);
    EXPECT_GE(band4At2m, 0.92);
    EXPECT_LE(band4At2m, 1.00);
    EXPECT_LT(sinusoidGain(kBandKernels[0].taps, 2.0), 0.0001);
    EXPECT_LT(sinusoidGain(kBandKernels[1].taps, 2.0), 0.023);
    EXPECT_LT(sinusoidGain(kBandKernels[2].taps, 2.0), 0.016);
}

}  // namespace
}  // namespace kestova
