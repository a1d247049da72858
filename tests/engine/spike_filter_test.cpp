#include "spike_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "running_median.h"

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

TEST(RemoveSpikes, ShortRecordsAreLeftAlone) {
    std::vector<double> values(80, 0.0);
    values[40] = 9.0;
    removeSpikes(values);
    EXPECT_EQ(values[40], 9.0);
}

}  // namespace
}  // namespace kestova
