#include "raw_file_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "test_support/test_recordings.h"

namespace kestova {
namespace {

using testing::RawFileParts;
using testing::repeatedFrames;
using testing::ScratchFolder;
using testing::writeRawFile;

class RawFileReaderTest : public ::testing::Test {
protected:
    RawFileParts parts;
    ScratchFolder folder;
    std::string path = folder.file("run.raw");

    void SetUp() override {
        parts.header.position = 1000.0;
        parts.header.forward = 1;
        for (int k = 0; k < 4; ++k) {
            parts.header.leftEddy[k] = {0.001 * (k + 1), 0.5 * k};
            parts.header.rightEddy[k] = {-0.002 * (k + 1), -0.25 * k};
        }
    }
};

TEST_F(RawFileReaderTest, RejectsFilesItCannotUse) {
    RawFileFacts facts;
    EXPECT_EQ(checkRawFile(folder.file("missing.raw"), facts), KESTOVA_CANNOT_OPEN);
    EXPECT_EQ(checkRawFile(folder.path().string(), facts), KESTOVA_CANNOT_OPEN);  // a folder

    parts.stream.assign(17099 - 1710, 0);
    writeRawFile(path, parts);
    EXPECT_EQ(checkRawFile(path, facts), KESTOVA_TOO_SHORT);

    parts.stream.assign(20000 - 1710, 0);
    parts.header.magic = 0xABCC;
    writeRawFile(path, parts);
    EXPECT_EQ(checkRawFile(path, facts), KESTOVA_BAD_MAGIC);
}

// 17100 bytes, no trailer: the stream runs to the end of the file and the end
// position is estimated at 0.02 m per (possibly partial) frame.
TEST_F(RawFileReaderTest, ShortestFileWithoutTrailer) {
    parts.stream = repeatedFrames(1, (17100 - 1710) / 12, 1000);
    parts.stream.resize(17100 - 1710, 0xFC);
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_FALSE(facts.hasTrailer);
    EXPECT_EQ(facts.endPosition, 1000.0 + (17100.0 - 1710.0) / 12.0 * 0.02);
    EXPECT_EQ(double{facts.info.endPosition}, facts.endPosition);  // packed: a copy
    const auto samples = loadSamples(path, facts);
    EXPECT_EQ(samples.size(), (17100u - 1710u) / 12u);
}

TEST_F(RawFileReaderTest, TrailerGivesTheEndAndIsNeverDecoded) {
    parts.stream = repeatedFrames(1, 2000, 1000);
    parts.withTrailer = true;
    parts.endPosition = 900.0;  // smaller than the start: taken as it is
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_TRUE(facts.hasTrailer);
    EXPECT_EQ(facts.endPosition, 900.0);
    EXPECT_EQ(loadSamples(path, facts).size(), 2000u);
}

TEST_F(RawFileReaderTest, SideComesFromTheFramesNotTheHeader) {
    parts.header.line.side = 2;
    parts.stream = repeatedFrames(1, 2000, 2000);
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_EQ(facts.side, 1);
    EXPECT_EQ(facts.slope[3], 0.004);
    EXPECT_EQ(facts.intercept[3], 1.5);
    // d_k = 2000 * slope_k + intercept_k, combined with the chord weights.
    const double d1 = 2000 * 0.001 + 0.0;
    const double d2 = 2000 * 0.002 + 0.5;
    const double d4 = 2000 * 0.004 + 1.5;
    const auto samples = loadSamples(path, facts);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples[0], 0.13 * d1 - 0.4406779661016949 * d2 + 0.3106779661016949 * d4);
}

TEST_F(RawFileReaderTest, RightFramesUseTheRightCalibration) {
    parts.stream = repeatedFrames(2, 2000, 100);
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_EQ(facts.side, 2);
    EXPECT_EQ(facts.slope[0], -0.002);
}

TEST_F(RawFileReaderTest, NoSyncPairInTheFirstKilobyteMeansLeft) {
    parts.stream.assign(1024, 0x00);
    const auto right = repeatedFrames(2, 2000, 100);
    parts.stream.insert(parts.stream.end(), right.begin(), right.end());
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_EQ(facts.side, 1);
    EXPECT_TRUE(loadSamples(path, facts).empty());  // no left frame anywhere
}

TEST_F(RawFileReaderTest, TrailingPartialFrameIsDropped) {
    parts.stream = repeatedFrames(1, 1500, 7);
    parts.stream.insert(parts.stream.end(), {0xFC, 0xFC, 1, 2, 3});
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_EQ(loadSamples(path, facts).size(), 1500u);
}

TEST_F(RawFileReaderTest, InfoBlockCarriesTheHeaderTexts) {
    std::strcpy(parts.header.lineName, "line");
    std::strcpy(parts.header.department, "dept");
    std::strcpy(parts.header.staffName, "staff");
    std::strcpy(parts.header.startTime, "20261210220000");
    std::memset(parts.header.folder, 'x', sizeof parts.header.folder);  // unterminated
    parts.stream = repeatedFrames(1, 1500, 7);
    writeRawFile(path, parts);
    RawFileFacts facts;
    ASSERT_EQ(checkRawFile(path, facts), KESTOVA_OK);
    EXPECT_STREQ(facts.info.lineName, "line");
    EXPECT_STREQ(facts.info.department, "dept");
    EXPECT_STREQ(facts.info.staffName, "staff");
    EXPECT_STREQ(facts.info.startTime, "20261210220000");
    EXPECT_EQ(facts.info.forward, 1);
    EXPECT_EQ(double{facts.info.startPosition}, 1000.0);
}

TEST(DistanceAxis, SpreadsEvenlyFromTheStart) {
    const auto forward = buildDistanceAxis(100.0, 110.0, 4);
    EXPECT_EQ(forward, (std::vector<double>{100.0, 102.5, 105.0, 107.5}));
    const auto backward = buildDistanceAxis(100.0, 90.0, 2);
    EXPECT_EQ(backward, (std::vector<double>{100.0, 95.0}));
    EXPECT_TRUE(buildDistanceAxis(0.0, 1.0, 0).empty());
}

}  // namespace
}  // namespace kestova
