#include "analysis/cursor_readout.h"

#include <gtest/gtest.h>

namespace sundrel::analysis {
namespace {

TEST(CursorReadout, PositionsInKmAndMetresToTheCentimetre) {
    struct Case {
        double metres;
        const char* text;
    };
    const Case cases[] = {
        {35200.254, "35km+200.25m"}, {0.0, "0km+0.00m"},       {999.996, "1km+0.00m"},
        {1000.0, "1km+0.00m"},       {-500.5, "0km+-500.50m"}, {123456.789, "123km+456.79m"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kmMetreHundredthsText(c.metres), c.text) << c.metres;
    }
}

TEST(CursorReadout, NamesEachRailThatHasData) {
    EXPECT_EQ(cursorReadoutText(35200.5, 0.1234, -0.0456),
              "位置：35km+200.50m    左轨：0.123mm    右轨：-0.046mm");
    EXPECT_EQ(cursorReadoutText(35200.5, std::nullopt, 0.2), "位置：35km+200.50m    右轨：0.200mm");
    EXPECT_EQ(cursorReadoutText(35200.5, std::nullopt, std::nullopt), "位置：35km+200.50m");
}

}  // namespace
}  // namespace sundrel::analysis
