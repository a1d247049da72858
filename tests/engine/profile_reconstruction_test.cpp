#include "profile_reconstruction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "engine_constants.h"

namespace kestova {
namespace {

// Chord samples of a rail profile y(x) sampled every 20 mm, each sensor
// seeing the profile at its offset.
template <typename Profile>
std::vector<double> chordSamples(std::size_t n, Profile profile) {
    std::vector<double> samples(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) * 0.02;
        for (const ChordTap& tap : kChordTaps) {
            samples[i] += tap.weight * profile(x + tap.offsetMm / 1000.0);
        }
    }
    return samples;
}

double amplitude(const std::vector<double>& x) {
    double peak = 0;
    for (double v : x) {
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

TEST(ReconstructProfile, AConstantBecomesZero) {
    for (std::size_t n : {10u, 11u, 1000u, 1009u}) {
        std::vector<double> samples(n, 3.25);
        reconstructProfile(samples);
        for (double v : samples) {
            ASSERT_NEAR(v, 0.0, 1e-12) << n;
        }
    }
}

TEST(ReconstructProfile, RestoresWavelengthsTheChordSees) {
    // 500 mm fits a whole number of times into 20 m (n = 1000, a smooth
    // length) and into 20.5 m (n = 1025 = 5^2 * 41, through Bluestein). The
    // inversion's pi of 3.1415926 leaves an error of about 1e-8.
    for (std::size_t n : {1000u, 1025u}) {
        auto rail = [](double x) { return 0.3 * std::sin(2 * std::numbers::pi * x / 0.5 + 0.7); };
        auto samples = chordSamples(n, rail);
        const double seen = amplitude(samples);
        EXPECT_NEAR(seen / 0.3, 0.66, 0.02) << n;
        reconstructProfile(samples);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_NEAR(samples[i], rail(static_cast<double>(i) * 0.02), 1e-6) << n << " " << i;
        }
    }
}

TEST(ReconstructProfile, LeavesWavelengthsBelowTheFloorAsTheChordSawThem) {
    const std::size_t n = 1500;  // 30 m: ten 3 m wavelengths
    auto rail = [](double x) { return std::sin(2 * std::numbers::pi * x / 3.0); };
    auto samples = chordSamples(n, rail);
    const auto before = samples;
    reconstructProfile(samples);
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_NEAR(samples[i], before[i], 1e-9);
    }
    EXPECT_NEAR(amplitude(samples), 0.12, 0.01);
}

// The engine keeps one transform per length for record after record; each
// record must come out as with a transform of its own.
TEST(ReconstructProfile, AKeptTransformGivesWhatAFreshOneGives) {
    for (std::size_t n : {1000u, 1009u, 1025u}) {
        RealDft kept(n);
        for (double wavelength : {0.5, 0.06, 0.3}) {
            auto rail = [wavelength](double x) {
                return 0.3 * std::sin(2 * std::numbers::pi * x / wavelength) + 0.01 * x;
            };
            const auto samples = chordSamples(n, rail);
            auto expected = samples;
            reconstructProfile(expected);
            auto withKept = samples;
            reconstructProfile(withKept, kept);
            EXPECT_EQ(withKept, expected) << n << " " << wavelength;
        }
    }
}

TEST(ReconstructProfile, ShortRecordsAreNotInverted) {
    std::vector<double> nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const auto before = nine;
    reconstructProfile(nine);
    EXPECT_EQ(nine, before);

    std::vector<double> ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    reconstructProfile(ten);
    double mean = 0;
    for (double v : ten) {
        mean += v / 10;
    }
    EXPECT_NEAR(mean, 0.0, 1e-12);  // the inversion ran and removed the mean
}

TEST(ChordResponse, FloorGapsWhereThePartSaysTheyAre) {
    // |H| at a wavelength L (m) on a record long enough to place a line there.
    auto gain = [](double wavelengthM) {
        const std::size_t n = 50000;
        const auto k = static_cast<std::size_t>(std::lround(n * 0.02 / wavelengthM));
        return std::abs(chordResponse(k, n));
    };
    EXPECT_LT(gain(3.0), 0.2);
    EXPECT_GT(gain(0.5), 0.2);
    EXPECT_LT(gain(0.115), 0.2);
    EXPECT_LT(gain(0.080), 0.2);
    EXPECT_LT(gain(0.047), 0.2);
    EXPECT_GT(gain(0.060), 0.2);
    EXPECT_EQ(std::abs(chordResponse(0, 100)) < 1e-12, true);
}

}  // namespace
}  // namespace kestova
