#include "acquisition/raw_file_naming.h"

#include <gtest/gtest.h>

namespace sundrel::acquisition {
namespace {

TEST(RawFileNaming, TimestampIsFourteenDigits) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 0;
    time.tm_mday = 9;
    time.tm_hour = 7;
    time.tm_min = 5;
    time.tm_sec = 3;
    EXPECT_EQ(timestampText(time), "20260109070503");
}

TEST(RawFileNaming, NamesFollowTheStartTimeUnlessTyped) {
    const RawFileNames automatic = makeRawFileNames("20261210223000", "", "");
    EXPECT_EQ(automatic.left, "20261210223000_left.raw");
    EXPECT_EQ(automatic.right, "20261210223000_right.raw");

    const RawFileNames typed = makeRawFileNames("20261210223000", "up_line", "");
    EXPECT_EQ(typed.left, "up_line");  // verbatim, no extension added
    EXPECT_EQ(typed.right, "20261210223000_right.raw");
}

TEST(RawFileNaming, PathJoinsFolderAndNameWithOneSlash) {
    EXPECT_EQ(rawFilePath("/data/runs", "a.raw"), "/data/runs/a.raw");
    EXPECT_EQ(storageFolder(""), "./");
    EXPECT_EQ(storageFolder("/data"), "/data");
    // An empty folder edit stays relative to the working directory.
    EXPECT_EQ(rawFilePath(storageFolder(""), "a.raw"), ".//a.raw");
}

}  // namespace
}  // namespace sundrel::acquisition
