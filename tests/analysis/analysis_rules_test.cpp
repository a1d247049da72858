#include "analysis/analysis_rules.h"

#include <gtest/gtest.h>

namespace sundrel::analysis {
namespace {

TEST(CounterpartPath, SwapsTheSideWordBetweenTheFirstUnderscoreAndTheFirstDot) {
    struct Case {
        const char* path;
        const char* counterpart;
    };
    for (const Case c : {
             Case{"/data/20261210223000_left.raw", "/data/20261210223000_right.raw"},
             Case{"/data/20261210223000_right.raw", "/data/20261210223000_left.raw"},
             // The word is "data/T_left": neither side, the same file twice.
             Case{"/my_data/20261210223000_left.raw", "/my_data/20261210223000_left.raw"},
             // Every occurrence is swapped, folders included.
             Case{"/left/T_left.raw", "/right/T_right.raw"},
             Case{"/data/T_LEFT.raw", "/data/T_LEFT.raw"},  // case matters
             Case{"/data/T_left", "/data/T_left"},          // no dot: no word
             Case{"noseparator.raw", "noseparator.raw"},
         }) {
        EXPECT_EQ(counterpartPath(c.path), c.counterpart) << c.path;
    }
}

TEST(CheckThresholds, EachMustLieBetweenAThousandthAndOne) {
    struct Case {
        std::array<std::string, 4> texts;
        std::optional<std::size_t> rejected;
    };
    for (const Case& c : {
             Case{{"0.1", "0.2", "0.3", "0.4"}, std::nullopt},
             Case{{"0.001", "1", "1.0", "0.5mm"}, std::nullopt},
             Case{{"0", "0.2", "0.3", "0.4"}, 0},
             Case{{"0.0009", "0.2", "0.3", "0.4"}, 0},
             Case{{"0.1", "abc", "0.3", "0.4"}, 1},  // not a number reads as 0
             Case{{"0.1", "0.2", "1.001", "0.4"}, 2},
             Case{{"0.1", "0.2", "0.3", "-0.4"}, 3},
             Case{{"0.1", "0.2", "0.3", "nan"}, 3},
         }) {
        const ThresholdCheck check = checkThresholds(c.texts);
        EXPECT_EQ(check.rejectedBand, c.rejected) << c.texts[0] << " " << c.texts[1];
    }
    EXPECT_EQ(checkThresholds({"0.05", "0.1", "0.2", "1"}).values,
              (Thresholds{0.05, 0.1, 0.2, 1.0}));
    EXPECT_STREQ(thresholdRejectionText(0), "30-100mm波段阈值设置不合理！");
    EXPECT_STREQ(thresholdRejectionText(3), "1000-3000mm波段阈值设置不合理！");
}

TEST(KilometreRangeText, TruncatesEachPartTowardZero) {
    EXPECT_EQ(kilometreRangeText(234.9, 500.0), "0km+234m--->0km+500m");
    EXPECT_EQ(kilometreRangeText(35200.0, 36450.7), "35km+200m--->36km+450m");
    EXPECT_EQ(kilometreRangeText(0.0, 0.0), "0km+0m--->0km+0m");
    EXPECT_EQ(kilometreRangeText(-1500.5, 1e300), "-1km+-500m--->2147483647km+2147483647m");
}

TEST(BandThresholdHeader, NamesTheBandAndItsLimit) {
    EXPECT_EQ(bandThresholdHeader(0, 0.05), "30-100mm【阈值:0.050mm】");
    EXPECT_EQ(bandThresholdHeader(3, 1.0), "1000-3000mm【阈值:1.000mm】");
}

}  // namespace
}  // namespace sundrel::analysis
