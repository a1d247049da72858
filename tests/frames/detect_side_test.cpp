#include <gtest/gtest.h>

#include <vector>

#include "frames/sensor_frame.h"

namespace sundrel::frames {
namespace {

struct SideCase {
    std::vector<std::uint8_t> bytes;
    RailSide expected;
};

TEST(DetectSide, FirstIdenticalSyncPairDecides) {
    const std::vector<SideCase> cases = {
        {{0x00, 0xFC, 0xFD, 0xFD, 0xFC, 0xFC}, RailSide::Right},
        {{0xFC, 0xFD, 0xFC, 0xFD}, RailSide::None},
        {{0xFC, 0xFC, 0xFD, 0xFD}, RailSide::Left},
        {{0xFD}, RailSide::None},
        {{}, RailSide::None},
        {{0x01, 0x02, 0xFD, 0xFD}, RailSide::Right},
    };
    for (const SideCase& c : cases) {
        EXPECT_EQ(detectSide(c.bytes.data(), c.bytes.size()), c.expected);
    }
}

TEST(SyncByte, LeftIsFcEverythingElseFd) {
    EXPECT_EQ(syncByteFor(RailSide::Left), 0xFC);
    EXPECT_EQ(syncByteFor(RailSide::Right), 0xFD);
    EXPECT_EQ(syncByteFor(RailSide::None), 0xFD);
}

}  // namespace
}  // namespace sundrel::frames
