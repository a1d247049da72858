#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kestova/kestova.h"
#include "recording_host.h"
#include "test_support/test_recordings.h"

namespace kestova {
namespace {

using testing::RawFileParts;
using testing::RecordingHost;
using testing::repeatedFrames;
using testing::ScratchFolder;
using testing::writeRawFile;

class AnalyseApi : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string path = folder.file("run_left.raw");

    void writeFrames(int side, std::size_t frames, bool trailer = true) {
        RawFileParts parts;
        parts.header.position = 500.0;
        parts.header.forward = 1;
        for (int k = 0; k < 4; ++k) {
            parts.header.leftEddy[k] = {0.0001, 1.0};
            parts.header.rightEddy[k] = {0.0001, 1.0};
        }
        parts.stream = repeatedFrames(side, frames, 20000);
        // A little texture so the bands are not all zero.
        for (std::size_t i = 0; i < frames; i += 7) {
            parts.stream[i * 12 + 3] = static_cast<std::uint8_t>(0x40 + i % 5);
        }
        parts.withTrailer = trailer;
        parts.endPosition = 500.0 + static_cast<double>(frames) * 0.02;
        writeRawFile(path, parts);
    }
};

TEST_F(AnalyseApi, LimitsOutsideZeroToOneAreRefusedFirst) {
    writeFrames(1, 2000);
    RecordingHost host;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double limits[4];
        int expected;
    };
    for (const Case& c :
         {Case{{1.5, 0.1, 0.1, 0.1}, KESTOVA_BAD_LIMIT},
          Case{{0.1, -0.1, 0.1, 0.1}, KESTOVA_BAD_LIMIT},
          Case{{0.1, 0.1, nan, 0.1}, KESTOVA_BAD_LIMIT},
          Case{{0.1, 0.1, 0.1, std::numeric_limits<double>::infinity()}, KESTOVA_BAD_LIMIT}}) {
        EXPECT_EQ(Analyse(path.c_str(), c.limits[0], c.limits[1], c.limits[2], c.limits[3]),
                  c.expected);
    }
    // A bad limit is found before the file is looked at.
    EXPECT_EQ(Analyse(folder.file("missing.raw").c_str(), 2, 0, 0, 0), KESTOVA_BAD_LIMIT);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Analyse(path.c_str(), 0.0, 1.0, 0.0, 1.0), KESTOVA_OK);
}

TEST_F(AnalyseApi, FileFailuresSendNothing) {
    RecordingHost host;
    EXPECT_EQ(Analyse(folder.file("missing.raw").c_str(), 0.1, 0.1, 0.1, 0.1), KESTOVA_CANNOT_OPEN);
    EXPECT_EQ(Analyse(nullptr, 0.1, 0.1, 0.1, 0.1), KESTOVA_CANNOT_OPEN);
    RawFileParts shortFile;
    shortFile.stream.assign(17099 - 1710, 0);
    writeRawFile(path, shortFile);
    EXPECT_EQ(Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1), KESTOVA_TOO_SHORT);
    RawFileParts badMagic;
    badMagic.header.magic = 0x1234;
    badMagic.stream.assign(20000 - 1710, 0);
    writeRawFile(path, badMagic);
    EXPECT_EQ(Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1), KESTOVA_BAD_MAGIC);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(AnalyseApi, ASuccessfulCallSendsEightMessagesInOrder) {
    writeFrames(2, 12000);
    RecordingHost host;
    ASSERT_EQ(Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1), KESTOVA_OK);
    EXPECT_EQ(host.codes(), (std::vector<uintptr_t>{13, 12, 14, 15, 16, 17, 18, 19}));
    for (const auto& m : host.messages) {
        const bool carriesSide = m.code == 12 || (m.code >= 14 && m.code <= 18);
        EXPECT_EQ(m.lparam, carriesSide ? 2 : 0) << m.code;
        if (m.code == 12 || (m.code >= 14 && m.code <= 17)) {
            EXPECT_EQ(m.count, 12000u);
            EXPECT_EQ(m.axis, host.withCode(12).axis);  // one distance axis for all
        }
    }
    const auto& ratios = host.withCode(18);
    EXPECT_EQ(ratios.count, 4u);
    EXPECT_EQ(ratios.axis, (std::vector<double>{1.0, 2.0, 3.0, 4.0}));
    const auto& sections = host.withCode(19);
    EXPECT_TRUE(sections.axisIsNull);
    ASSERT_EQ(sections.sections.size(), 3u);  // 240 m: two whole sections and the rest
    EXPECT_EQ(std::int32_t{sections.sections[0].side}, 2);  // packed: compare copies
    const auto& info = host.withCode(13);
    EXPECT_EQ(double{info.info.startPosition}, 500.0);
    EXPECT_EQ(double{info.info.endPosition}, 740.0);
    EXPECT_EQ(host.withCode(12).axis.front(), 500.0);
}

// A file without one whole frame of its side still gets every message, with
// nothing in them.
TEST_F(AnalyseApi, NoFrameOfItsSideGivesEmptyMessages) {
    RawFileParts parts;
    parts.stream.assign(20000, 0xFC);
    for (std::size_t i = 1; i < parts.stream.size(); i += 2) {
        parts.stream[i] = 0x00;
    }
    writeRawFile(path, parts);
    RecordingHost host;
    ASSERT_EQ(Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1), KESTOVA_OK);
    EXPECT_EQ(host.codes(), (std::vector<uintptr_t>{13, 12, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(host.withCode(12).count, 0u);
    EXPECT_EQ(host.withCode(18).data, (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(host.withCode(19).count, 0u);
}

TEST_F(AnalyseApi, ShortRecordsAreHandledAtEveryLength) {
    for (std::size_t frames : {1u, 9u, 10u, 418u}) {
        RawFileParts parts;
        parts.stream = repeatedFrames(1, frames, 30000);
        parts.stream.resize(std::max<std::size_t>(parts.stream.size(), 17100 - 1710), 0x00);
        writeRawFile(path, parts);
        RecordingHost host;
        ASSERT_EQ(Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1), KESTOVA_OK) << frames;
        EXPECT_EQ(host.withCode(12).count, frames);
        EXPECT_EQ(host.withCode(19).count, 1u) << frames;
    }
}

TEST(RegisterMessgaeFun, KeepsTheFirstCallback) {
    struct Callbacks {
        static void first() {}
        static void second() {}
    };
    // The library may already hold a callback from another test in this
    // process; the contract is only that a stored one is kept.
    const int firstResult = RegisterMessgaeFun(&Callbacks::first);
    EXPECT_TRUE(firstResult == 0 || firstResult == 1);
    EXPECT_EQ(RegisterMessgaeFun(&Callbacks::second), 1);
}

TEST(SetWnd, AlwaysSucceedsAndAnalyseRunsWithoutAWindow) {
    EXPECT_EQ(SetWnd(nullptr), 0);
}

}  // namespace
}  // namespace kestova
