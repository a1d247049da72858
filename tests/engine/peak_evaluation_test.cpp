#include "peak_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "kestova/km_post.h"

namespace kestova {
namespace {

std::vector<double> evenAxis(double start, double step, std::size_t n) {
    std::vector<double> axis(n);
    for (std::size_t i = 0; i < n; ++i) {
        axis[i] = start + static_cast<double>(i) * step;
    }
    return axis;
}

TEST(ExceedRatio, CountsMagnitudesAboveHalfTheLimit) {
    std::vector<double> band(1000, 0.3);
    for (std::size_t i = 0; i < 139; ++i) {
        band[i] = band[999 - i] = 0.0;  // the unfiltered ends count too
    }
    EXPECT_DOUBLE_EQ(exceedRatio(band, 0.5), 100.0 * (1000 - 2 * 139) / 1000.0);

    const std::vector<double> edge = {0.25, -0.25, -0.251, 0.0};
    EXPECT_DOUBLE_EQ(exceedRatio(edge, 0.5), 25.0);  // exactly T/2 does not exceed
    EXPECT_EQ(exceedRatio({}, 0.5), 0.0);
}

// Exceeding samples at 10.00..10.60 m (+0.4) and 30.00..30.10 m (-0.6).
struct RunFixture {
    std::vector<double> positions = evenAxis(0.0, 0.02, 5000);
    std::vector<double> x = std::vector<double>(5000, 0.0);
    RunFixture(std::size_t lastGroupEnd) {
        for (std::size_t i = 500; i <= 530; ++i) {
            x[i] = 0.4;
        }
        for (std::size_t i = 1500; i <= lastGroupEnd; ++i) {
            x[i] = -0.6;
        }
    }
};

TEST(EvaluateRun, TheWidestRunWinsAndOneSidedRunsAreSymmetric) {
    const RunFixture f(1505);
    const RunResult run = evaluateRun(f.x, f.positions, 0.5);
    EXPECT_DOUBLE_EQ(run.ratio, 100.0 * (31 + 6) / 5000.0);
    EXPECT_DOUBLE_EQ(run.peakToPeak, 0.8);
    EXPECT_EQ(run.runStart, 500u);
    EXPECT_EQ(run.runEnd, 530u);
}

TEST(EvaluateRun, TheLastExceedingSampleJoinsTheOpenRun) {
    const RunFixture f(1500);
    const RunResult run = evaluateRun(f.x, f.positions, 0.5);
    EXPECT_DOUBLE_EQ(run.peakToPeak, 1.0);  // crosses zero: 0.4 - (-0.6)
    EXPECT_EQ(run.runStart, 500u);
    EXPECT_EQ(run.runEnd, 1500u);
}

TEST(EvaluateRun, SmallCases) {
    const auto positions = evenAxis(0.0, 0.02, 100);
    std::vector<double> x(100, 0.0);
    EXPECT_EQ(evaluateRun(x, positions, 0.5).peakToPeak, 0.0);  // none
    x[10] = 0.3;
    RunResult one = evaluateRun(x, positions, 0.5);
    EXPECT_EQ(one.ratio, 1.0);
    EXPECT_EQ(one.peakToPeak, 0.0);  // a single sample is no run
    x[90] = 0.35;                    // 1.6 m away: still one run of two
    RunResult two = evaluateRun(x, positions, 0.5);
    EXPECT_DOUBLE_EQ(two.peakToPeak, 0.7);
    EXPECT_EQ(two.runStart, 10u);
    EXPECT_EQ(two.runEnd, 90u);
    x[90] = -0.3;
    x[10] = -0.35;
    EXPECT_DOUBLE_EQ(evaluateRun(x, positions, 0.5).peakToPeak, 0.7);  // 2 |lowest|
}

TEST(EvaluateRun, AGapOfExactlyOneMetreKeepsTheRunTogether) {
    const std::vector<double> positions = {0.0, 1.0, 2.5, 3.0, 9.0};
    const std::vector<double> x = {0.3, 0.3, 0.3, 0.3, 0.3};
    // Runs [0,1] (span 1.0) then [2,4] closed at the end (span 6.5).
    const RunResult run = evaluateRun(x, positions, 0.5);
    EXPECT_EQ(run.runStart, 2u);
    EXPECT_EQ(run.runEnd, 4u);
}

TEST(PositionText, KilometresAndMetresTruncateTowardZero) {
    struct Case {
        double metres;
        const char* text;
    };
    for (const Case c :
         {Case{0.0, "0+0"}, Case{12345.4, "12+345"}, Case{999.5, "1+0"}, Case{-500.6, "0+-500"},
          Case{-500.0, "0+-499"}, Case{-1234.0, "-1+-233"}}) {
        EXPECT_EQ(positionText(wholeMetre(c.metres)), c.text) << c.metres;
    }
    EXPECT_EQ(wholeMetre(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(wholeMetre(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(wholeMetre(-1e300), std::numeric_limits<int>::min());
}

std::vector<SectionRecord> sections(const std::vector<double>& distances,
                                    const std::vector<double>& band, double limit = 0.5) {
    return evaluateSections(distances, {band, band, band, band}, 1, {limit, limit, limit, limit});
}

TEST(EvaluateSections, WholeSectionsAndTheRest) {
    // 250.4 m at 0.02 m: two whole sections and the last ~50 m.
    const std::size_t n = 12521;
    const auto distances = evenAxis(1000.0, 0.02, n);
    const std::vector<double> quiet(n, 0.0);
    const auto records = sections(distances, quiet);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_STREQ(records[0].range, "1+0-->1+100");
    EXPECT_STREQ(records[1].range, "1+100-->1+200");
    EXPECT_STREQ(records[2].range, "1+200-->1+250");
    for (const SectionRecord& record : records) {
        EXPECT_EQ(std::int32_t{record.side}, 1);  // packed: compare copies
        for (const BandResult& band : record.bands) {
            EXPECT_EQ(float{band.ratio}, 0.0f);
            EXPECT_EQ(float{band.peakToPeak}, 0.0f);
            EXPECT_STREQ(band.position, "-");
        }
    }

    const auto shortRecords = sections(evenAxis(0.0, 0.02, 3000), std::vector<double>(3000, 0.0));
    ASSERT_EQ(shortRecords.size(), 1u);
    EXPECT_STREQ(shortRecords[0].range, "0+0-->0+60");
}

TEST(EvaluateSections, RunPositionsAreWholeMetres) {
    const std::size_t n = 6000;  // 0 .. 119.98 m
    const auto distances = evenAxis(12000.0, 0.02, n);
    std::vector<double> band(n, 0.0);
    for (std::size_t i = 500; i <= 530; ++i) {  // 12010.00 .. 12010.60
        band[i] = 0.4;
    }
    for (std::size_t i = 5100; i <= 5102; ++i) {  // 12102.00 .. 12102.04, second section
        band[i] = -0.3;
    }
    const auto records = sections(distances, band);
    ASSERT_EQ(records.size(), 2u);
    // Samples per section as the evaluation counts them (5000, give or take
    // the rounding of the positions).
    const double perSection =
        std::trunc(static_cast<double>(n - 1) / (distances.back() - distances.front()) * 100);
    EXPECT_STREQ(records[0].bands[0].position, "12+10-->12+11");
    EXPECT_FLOAT_EQ(records[0].bands[0].peakToPeak, 0.8f);
    EXPECT_FLOAT_EQ(records[0].bands[0].ratio, static_cast<float>(100.0 * 31 / perSection));
    EXPECT_STREQ(records[1].bands[2].position, "12+102");  // rounded ends are equal
    EXPECT_FLOAT_EQ(records[1].bands[2].peakToPeak, 0.6f);
}

// Km marks that imply absurdly many sections, or none that are finite, leave
// the record in one piece instead of allocating without bound.
TEST(EvaluateSections, HostilePositionsGiveOneBoundedRecord) {
    const std::vector<double> band(100, 0.3);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& distances :
         {evenAxis(0.0, 1e12, 100), evenAxis(0.0, 1e300, 100), evenAxis(nan, 1.0, 100),
          evenAxis(0.0, inf, 100), evenAxis(0.0, 1e4, 100), evenAxis(0.0, 0.0, 100)}) {
        const auto records = sections(distances, band);
        ASSERT_EQ(records.size(), 1u) << distances[1];
    }
    // Many sections, but each holds samples: kept as they are.
    EXPECT_EQ(sections(evenAxis(0.0, 64.0, 101), std::vector<double>(101, 0.3)).size(), 65u);
    EXPECT_TRUE(sections({}, {}).empty());
    EXPECT_EQ(sections({5.0}, {0.9}).size(), 1u);
}

}  // namespace
}  // namespace kestova
