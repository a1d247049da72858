#include "widgets/chart_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sundrel::widgets {
namespace {

struct DecimalsCase {
    double step;
    int decimals;
};

TEST(StepDecimals, AreMinusTheFloorOfTheDecadeWhenPositive) {
    const DecimalsCase cases[] = {{0.5, 1},  {4.0, 0},  {0.05, 2},  {300.0, 0}, {1.0, 0},
                                  {0.1, 1},  {0.01, 2}, {0.001, 3}, {0.25, 1},  {2.0, 0},
                                  {10.0, 0}, {1e-6, 6}, {0.2, 1},   {0.02, 2},  {0.9999, 1},
                                  {5.0, 0},  {1e-3, 3}};
    for (const DecimalsCase& c : cases) {
        EXPECT_EQ(stepDecimals(c.step), c.decimals) << "step " << c.step;
    }
}

TEST(StepDecimals, AreZeroForStepsThatAreNotPositiveFiniteNumbers) {
    for (const double step : {0.0, -0.5, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(stepDecimals(step), 0) << step;
    }
}

TEST(RoundStep, IsTheSmallestOneTwoOrFiveTimesAPowerOfTen) {
    const std::pair<double, double> cases[] = {
        {0.7, 1.0},  {1.0, 1.0},   {1.01, 2.0},    {2.0, 2.0},   {3.0, 5.0}, {5.0, 5.0},
        {5.5, 10.0}, {0.03, 0.05}, {140.0, 200.0}, {1e-7, 1e-7}, {9e8, 1e9}};
    for (const auto& [minimum, expected] : cases) {
        EXPECT_NEAR(roundStepAtLeast(minimum), expected, expected * 1e-12) << minimum;
    }
    EXPECT_NEAR(nextRoundStep(1.0), 2.0, 1e-12);
    EXPECT_NEAR(nextRoundStep(2.0), 5.0, 1e-12);
    EXPECT_NEAR(nextRoundStep(5.0), 10.0, 1e-12);
    EXPECT_NEAR(nextRoundStep(0.05), 0.1, 1e-15);
}

TEST(StepMultiples, CoverTheRangeWithWholeMultiplesIncludingBothEnds) {
    const auto values = stepMultiples(0.0, 5.0, 1.0, 100);
    ASSERT_EQ(values.size(), 6u);
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i], static_cast<double>(i));
    }
    // Multiples, not offsets from the minimum.
    const auto shifted = stepMultiples(2.02, 22.0, 4.0, 100);
    ASSERT_EQ(shifted.size(), 5u);
    EXPECT_EQ(shifted.front(), 4.0);
    EXPECT_EQ(shifted.back(), 20.0);
    // 0.3 / 0.1 is a hair below 3: the end still counts.
    EXPECT_EQ(stepMultiples(0.0, 0.3, 0.1, 100).size(), 4u);
    const auto negative = stepMultiples(-1.0, 1.0, 0.5, 100);
    ASSERT_EQ(negative.size(), 5u);
    EXPECT_EQ(negative[2], 0.0);
    EXPECT_FALSE(std::signbit(negative[2]));
    EXPECT_TRUE(stepMultiples(0.0, 1000.0, 1.0, 100).empty());  // too many
    EXPECT_TRUE(stepMultiples(0.0, 1.0, 0.0, 100).empty());
}

TEST(TickNumber, UsesTheDecimalsAndNeverShowsMinusZero) {
    EXPECT_EQ(tickNumber(0.5, 1), "0.5");
    EXPECT_EQ(tickNumber(4.0, 0), "4");
    EXPECT_EQ(tickNumber(0.05, 2), "0.05");
    EXPECT_EQ(tickNumber(-1e-17, 1), "0.0");
    EXPECT_EQ(tickNumber(-0.0, 0), "0");
    EXPECT_EQ(tickNumber(-2.5, 1), "-2.5");
}

}  // namespace
}  // namespace sundrel::widgets
