#include "acquisition/measurement_rules.h"

#include <gtest/gtest.h>

namespace sundrel::acquisition {
namespace {

TEST(MeasurementRules, TheRunningPositionCountsWholeFramesFromTheStart) {
    EXPECT_EQ(runningPositionText(60000, 0.02, 1000, true), "1+100");
    EXPECT_EQ(runningPositionText(60000, 0.02, 1000, false), "0+900");
    EXPECT_EQ(runningPositionText(60011, 0.02, 1000, true), "1+100");  // 11 bytes: no frame
    EXPECT_EQ(runningPositionText(0, 0.02, 35200.7, true), "35+200");
}

TEST(MeasurementRules, StopPositionsAreReadAndCheckedAgainstTheDirection) {
    struct Case {
        const char* text;
        double start;
        bool forward;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"5+100", 5000, false, std::nullopt},  // behind a backward run's start
        {"4+900", 5000, false, 4900.0},
        {"2.5", 0, true, 2.5},
        {"0.5", 0, true, std::nullopt},  // a plain number below 1
        {"0km+0m", 0, true, 0.0},
        {"1+100", 1000, true, 1100.0},
        {"0+999", 1000, true, std::nullopt},  // behind a forward run's start
        {"abc", 0, true, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stopPosition(c.text, c.start, c.forward), c.expected) << c.text;
    }
}

TEST(MeasurementRules, ARunLongerThan50MetresMeasuresTheDistancePerFrame) {
    // 1200 m over 60000 frames.
    EXPECT_EQ(measuredMetresPerFrame(1000, 2200, 60000 * 12), 0.02);
    EXPECT_EQ(measuredMetresPerFrame(2200, 1000, 60000 * 12), 0.02);
    EXPECT_EQ(measuredMetresPerFrame(1000, 1040, 2000 * 12), std::nullopt);  // 40 m
    EXPECT_EQ(measuredMetresPerFrame(1000, 2200, 11), std::nullopt);         // no frame
}

}  // namespace
}  // namespace sundrel::acquisition
