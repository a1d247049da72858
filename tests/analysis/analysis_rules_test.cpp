#include "analysis/analysis_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_support/scratch_folder.h"

namespace sundrel::analysis {
namespace {

TEST(CounterpartPath, SwapsTheSideWordOfTheFileNameOnly) {
    struct Case {
        const char* path;
        const char* counterpart;
    };
    for (const Case c : {
             Case{"/data/20261210223000_left.raw", "/data/20261210223000_right.raw"},
             Case{"/data/20261210223000_right.raw", "/data/20261210223000_left.raw"},
             Case{"20261210223000_left.raw", "20261210223000_right.raw"},
             // "_" and "." in folders do not count.
             Case{"/my_data/20261210223000_left.raw", "/my_data/20261210223000_right.raw"},
             Case{"/runs/v1.2/T_right.raw", "/runs/v1.2/T_left.raw"},
             Case{"./T_left.raw", "./T_right.raw"},
             Case{"../a_b.c/T_left.raw", "../a_b.c/T_right.raw"},
             // Every occurrence in the file name is swapped, none in a folder.
             Case{"/left/T_left.raw", "/left/T_right.raw"},
             Case{"/data/T_left_left.raw", "/data/T_left_left.raw"},  // the word is left_left
             Case{"/data/T_left.left.raw", "/data/T_right.right.raw"},
             Case{"/data/T_LEFT.raw", "/data/T_LEFT.raw"},  // case matters
             Case{"/data/T_left", "/data/T_left"},          // no dot: no word
             Case{"/data/T.x_left", "/data/T.x_left"},      // the dot before the "_"
             Case{"/data/T_leftover.raw", "/data/T_leftover.raw"},
             Case{"/my_data/plain.raw", "/my_data/plain.raw"},
             Case{"noseparator.raw", "noseparator.raw"},
         }) {
        EXPECT_EQ(counterpartPath(c.path), c.counterpart) << c.path;
    }
}

TEST(IsRecordingName, LooksForTheUnderscoreInTheFileName) {
    EXPECT_TRUE(isRecordingName("/data/T_left.raw"));
    EXPECT_TRUE(isRecordingName("T_left.raw"));
    EXPECT_FALSE(isRecordingName("/my_data/plain.raw"));
    EXPECT_FALSE(isRecordingName(""));
}

// Recordings on disk: which files one analysis reads, and what the status
// bar is told when the other rail is not there.
class RailFilesTest : public ::testing::Test {
protected:
    std::string touch(const std::string& relative) {
        const std::filesystem::path path = scratch_.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path.string();
    }
    sundrel::testing::ScratchFolder scratch_;
};

TEST_F(RailFilesTest, FindsTheOtherRailBesideTheChosenFile) {
    for (const char* folder : {"data", "my_data", "v1.2", "a_b.c/left"}) {
        const std::string left = touch(std::string(folder) + "/T_left.raw");
        const std::string right = touch(std::string(folder) + "/T_right.raw");
        const RailFiles fromLeft = railFiles(left);
        EXPECT_EQ(fromLeft.chosen, left);
        EXPECT_EQ(fromLeft.other, right) << folder;
        EXPECT_EQ(otherRailMissingText(fromLeft), "");
        EXPECT_EQ(railFiles(right).other, left) << folder;
    }
}

TEST_F(RailFilesTest, AMissingOrSameOtherRailLeavesTheChosenFileAlone) {
    const std::string lonely = touch("my_data/T_left.raw");
    const RailFiles missing = railFiles(lonely);
    EXPECT_EQ(missing.other, std::nullopt);
    EXPECT_EQ(missing.missingOther, (scratch_.path() / "my_data" / "T_right.raw").string());
    EXPECT_EQ(otherRailMissingText(missing),
              "未找到另一股钢轨的数据文件 " + missing.missingOther + "，只分析了所选文件");

    const RailFiles noSide = railFiles(touch("v1.2/T_top.raw"));
    EXPECT_EQ(noSide.other, std::nullopt);
    EXPECT_EQ(noSide.missingOther, noSide.chosen);
    EXPECT_EQ(otherRailMissingText(noSide),
              "未找到另一股钢轨的数据文件（文件名中没有 _left 或 _right），只分析了所选文件");

    // The other name leads back to the chosen file: still one rail.
    const std::string left = touch("linked/T_left.raw");
    std::filesystem::create_symlink(left, scratch_.path() / "linked" / "T_right.raw");
    EXPECT_EQ(railFiles(left).other, std::nullopt);

    // A folder where the file should be is no recording.
    const std::string beside = touch("dir/T_left.raw");
    std::filesystem::create_directories(scratch_.path() / "dir" / "T_right.raw");
    EXPECT_EQ(railFiles(beside).other, std::nullopt);
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
