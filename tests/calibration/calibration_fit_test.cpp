#include "calibration/calibration_fit.h"

#include <gtest/gtest.h>

#include <array>

#include "calibration/calibration_reader.h"

namespace sundrel::calibration {
namespace {

using frames::RailSide;

TEST(CalibrationFit, EquationLinesOfTheWorkedExamples) {
    struct Case {
        std::vector<CalibrationPoint> points;
        const char* text;
    };
    const Case cases[] = {
        {{{1000, 1}, {2000, 3}}, "y=0.002000X-1.000000，R^2=1.000000"},
        {{{1000, 2}, {2000, 4}}, "y=0.002000X+0.000000，R^2=1.000000"},  // 0 takes the plus
        {{{1000, 5}, {3000, 5}}, "y=0.000000X+5.000000，R^2=—"},       // all distances equal
    };
    for (const Case& c : cases) {
        const auto fit = fitLine(c.points);
        ASSERT_TRUE(fit) << c.text;
        EXPECT_EQ(equationText(*fit), c.text);
    }
}

TEST(CalibrationFit, NoLineThroughFewerThanTwoWordsOrOneWordOnly) {
    EXPECT_FALSE(fitLine({}));
    EXPECT_FALSE(fitLine({{1000, 1}}));
    EXPECT_FALSE(fitLine({{1500, 1}, {1500, 2}, {1500, 3}}));
}

TEST(CalibrationFit, RSquaredOfANoisySetMatchesAHandComputation) {
    // y = 0.001x + 0.5 with residuals +0.1, -0.1, -0.1, +0.1 at x 1000..4000.
    const std::vector<CalibrationPoint> points = {
        {1000, 1.6}, {2000, 2.4}, {3000, 3.4}, {4000, 4.6}};
    const auto fit = fitLine(points);
    ASSERT_TRUE(fit);
    // About the means 2500 and 3: Sxx 5e6, Sxy 5000 → slope 0.001, intercept 0.5.
    EXPECT_NEAR(fit->slope, 0.001, 1e-12);
    EXPECT_NEAR(fit->intercept, 0.5, 1e-9);
    // Explained 0.001² × 5e6 = 5; total Σ(y − 3)² = 5.04.
    ASSERT_TRUE(fit->rSquared);
    EXPECT_NEAR(*fit->rSquared, 5.0 / 5.04, 1e-9);
    ASSERT_EQ(fit->fitted.size(), 4u);
    EXPECT_NEAR(fit->fitted[3], 4.5, 1e-9);
}

std::vector<std::uint8_t> frame(RailSide side, std::uint16_t word) {
    const auto f = frames::makeFrame(side, {word, word, word, word});
    return {f.begin(), f.end()};
}

TEST(CalibrationReader, OneFrameOfTheCalibratedSideMakesAReading) {
    CalibrationReader reader;
    const auto left = frame(RailSide::Left, 1234);
    const auto right = frame(RailSide::Right, 999);

    // The other box's answer alone: emptied, nothing.
    EXPECT_FALSE(reader.add(right.data(), right.size(), RailSide::Left));
    EXPECT_EQ(reader.pending(), 0u);
    // Then the calibrated side's answer: one reading.
    const auto words = reader.add(left.data(), left.size(), RailSide::Left);
    ASSERT_TRUE(words);
    EXPECT_EQ((*words)[1], 1234);

    // Two frames in one delivery: consumed, nothing.
    std::vector<std::uint8_t> two = left;
    two.insert(two.end(), left.begin(), left.end());
    EXPECT_FALSE(reader.add(two.data(), two.size(), RailSide::Left));
    EXPECT_EQ(reader.pending(), 0u);

    // A split frame completes on the next delivery.
    EXPECT_FALSE(reader.add(left.data(), 5, RailSide::Left));
    EXPECT_EQ(reader.pending(), 5u);
    EXPECT_TRUE(reader.add(left.data() + 5, left.size() - 5, RailSide::Left));
}

}  // namespace
}  // namespace sundrel::calibration
