#include "spike_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "engine_constants.h"
#include "running_median.h"
#include "test_support/test_recordings.h"

namespace kestova {
namespace {

// The definition: sort each window of 81 and take the 41st value.
std::vector<double> sortedMedians(const std::vector<double>& values, std::size_t width) {
    std::vector<double> medians;
    for (std::size_t i = 0; i + width <= values.size(); ++i) {
        std::vector<double> window(values.begin() + static_cast<std::ptrdiff_t>(i),
                                   values.begin() + static_cast<std::ptrdiff_t>(i + width));
        std::sort(window.begin(), window.end());
        medians.push_back(window[width / 2]);
    }
    return medians;
}

struct Wave {
    double wavelengthMm;
    double amplitudeMm;
};

// Chord samples, every 20 mm, of a rail whose profile is a sum of sinusoids.
std::vector<double> chordOf(std::size_t n, const std::vector<Wave>& waves) {
    std::vector<double> samples(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (const ChordTap& tap : kChordTaps) {
            const double mm = static_cast<double>(i) * 20.0 + tap.offsetMm;
            for (const Wave& wave : waves) {
                samples[i] += tap.weight * wave.amplitudeMm *
                              std::sin(2 * std::numbers::pi * mm / wave.wavelengthMm);
            }
        }
    }
    return samples;
}

// The median rule on its own: every sample more than 0.1 mm from the median
// of its 81-sample window is replaced by that median.
std::vector<double> medianRuleOnly(const std::vector<double>& values) {
    auto result = values;
    const auto medians = sortedMedians(values, 81);
    for (std::size_t j = 0; j < medians.size(); ++j) {
        if (std::fabs(medians[j] - values[j + 40]) > 0.1) {
            result[j + 40] = medians[j];
        }
    }
    return result;
}

TEST(RunningMedian, EqualsSortingEveryWindow) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coarse(-20, 20);  // many ties
    std::normal_distribution<double> fine(0.0, 1.0);
    for (std::size_t n : {81u, 82u, 200u, 3000u}) {
        std::vector<double> values(n);
        for (std::size_t i = 0; i < n; ++i) {
            values[i] = i % 3 == 0 ? coarse(random) : fine(random);
        }
        EXPECT_EQ(RunningMedian(81).compute(values), sortedMedians(values, 81)) << n;
    }
    EXPECT_TRUE(RunningMedian(81).compute(std::vector<double>(80, 1.0)).empty());
}

TEST(RunningMedian, StaysDefinedWithNaN) {
    std::vector<double> values(300, 1.0);
    values[100] = std::numeric_limits<double>::quiet_NaN();
    values[101] = std::numeric_limits<double>::quiet_NaN();
    const auto medians = RunningMedian(81).compute(values);
    ASSERT_EQ(medians.size(), 220u);
    for (double m : medians) {
        EXPECT_EQ(m, 1.0);
    }
}

TEST(RemoveSpikes, ReplacesOnlyWhatStraysMoreThanATenth) {
    std::vector<double> flat(200, 2.0);
    auto spiked = flat;
    spiked[100] = 2.5;   // replaced by the median
    spiked[20] = 2.5;    // within the first 40: never changed
    spiked[180] = 2.5;   // within the last 40: never changed
    spiked[120] = 2.09;  // within tolerance
    removeSpikes(spiked);
    EXPECT_EQ(spiked[100], 2.0);
    EXPECT_EQ(spiked[20], 2.5);
    EXPECT_EQ(spiked[180], 2.5);
    EXPECT_EQ(spiked[120], 2.09);

    // Exactly 0.1 from the median is kept.
    std::vector<double> exact(200, 0.0);
    exact[100] = 0.1;
    removeSpikes(exact);
    EXPECT_EQ(exact[100], 0.1);
}

TEST(RemoveSpikes, UsesInputMediansNotCorrectedOnes) {
    // A plateau of 41 raised samples in 200: its medians flip as the window
    // passes it; correcting in place would change later medians.
    std::vector<double> values(200, 0.0);
    for (std::size_t i = 60; i < 101; ++i) {
        values[i] = 1.0;
    }
    auto expected = values;
    const auto medians = sortedMedians(values, 81);
    for (std::size_t j = 0; j < medians.size(); ++j) {
        if (std::fabs(medians[j] - values[j + 40]) > 0.1) {
            expected[j + 40] = medians[j];
        }
    }
    removeSpikes(values);
    EXPECT_EQ(values, expected);
}

// Corrugation whose chord swings far more than 0.1 mm about its median is
// the rail itself, not a spike: the median rule alone would cut it back.
TEST(RemoveSpikes, LeavesCorrugationOfAnyAmplitudeAlone) {
    struct Case {
        std::vector<Wave> waves;
        bool severe;  // the median rule alone would change it
    };
    std::vector<Case> cases;
    for (double wavelength : {42.0, 50.0, 60.0, 75.0, 100.0, 150.0, 250.0, 500.0, 1000.0, 2000.0}) {
        for (double amplitude : {0.05, 0.2, 0.5, 1.0}) {
            cases.push_back({{{wavelength, amplitude}}, amplitude == 1.0});
        }
    }
    // Long waves: a window holds too few periods for a steady spread, and the
    // crests stand out of its quartiles; they are smooth from sample to sample.
    cases.push_back({{{500.0, 0.5}, {1000.0, 1.0}}, true});
    // Short waves on long ones: many periods per window, jagged from sample to
    // sample, but well inside the window's spread.
    cases.push_back({{{60.0, 0.5}, {400.0, 0.5}}, true});
    cases.push_back({{{42.0, 0.3}, {2000.0, 1.0}}, true});
    for (const Case& c : cases) {
        const auto samples = chordOf(3000, c.waves);
        if (c.severe) {
            EXPECT_NE(medianRuleOnly(samples), samples)
                << c.waves[0].wavelengthMm << " mm, " << c.waves[0].amplitudeMm << " mm";
        }
        auto filtered = samples;
        removeSpikes(filtered);
        EXPECT_EQ(filtered, samples) << c.waves[0].wavelengthMm << " mm, " << c.waves[0].amplitudeMm
                                     << " mm, " << c.waves.size() << " waves";
    }
}

// Single-sample spikes of 0.3 to 2 mm on a rail with mild corrugation and
// sensor noise go exactly as the median rule alone removes them; so does a
// pair of adjacent spikes of 0.5 mm or more.
TEST(RemoveSpikes, RemovesSpikesOnMildCorrugationAsTheMedianRuleDoes) {
    const auto noise = testing::randomRecord(3000);
    for (double wavelength : {42.0, 60.0, 100.0, 250.0, 500.0, 2000.0}) {
        for (double height : {0.3, 0.5, 1.0, 2.0, -0.3, -0.7, -2.0}) {
            for (std::size_t burst : {1u, 2u}) {
                if (burst == 2 && std::fabs(height) < 0.5) {
                    continue;
                }
                auto samples = chordOf(3000, {{wavelength, 0.05}});
                for (std::size_t i = 0; i < samples.size(); ++i) {
                    samples[i] += 0.005 * noise[i];
                }
                // Spikes at different phases of the corrugation, one per window.
                for (std::size_t at = 200; at + 200 < samples.size(); at += 97) {
                    for (std::size_t k = 0; k < burst; ++k) {
                        samples[at + k] += height;
                    }
                }
                const auto expected = medianRuleOnly(samples);
                auto filtered = samples;
                removeSpikes(filtered);
                ASSERT_EQ(filtered, expected)
                    << wavelength << " mm, spike " << height << " mm, burst " << burst;
                for (std::size_t at = 200; at + 200 < samples.size(); at += 97) {
                    EXPECT_NE(filtered[at], samples[at]) << wavelength << " mm, at " << at;
                }
            }
        }
    }
}

TEST(RemoveSpikes, ShortRecordsAreLeftAlone) {
    std::vector<double> values(80, 0.0);
    values[40] = 9.0;
    removeSpikes(values);
    EXPECT_EQ(values[40], 9.0);
}

}  // namespace
}  // namespace kestova
