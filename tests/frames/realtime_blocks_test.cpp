#include "frames/realtime_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace sundrel::frames {
namespace {

// Frame i of a stream carries the words i, i + 1000, i + 2000, i + 3000.
SensorWords wordsOfFrame(std::size_t i) {
    const auto w = static_cast<std::uint16_t>(i);
    return {w, static_cast<std::uint16_t>(w + 1000), static_cast<std::uint16_t>(w + 2000),
            static_cast<std::uint16_t>(w + 3000)};
}

std::vector<std::uint8_t> stream(RailSide side, std::size_t frames, std::size_t first = 0) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = first; i < first + frames; ++i) {
        const auto frame = makeFrame(side, wordsOfFrame(i), 0x5A);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

// Every pass as the sink saw it, copied while the block is valid.
struct Pass {
    RailSide side;
    std::vector<double> distance;
    std::vector<double> sensor1;
    std::vector<double> sensor4;
    std::uint32_t frames;
    bool scrolls;
    std::uint32_t removed;
};

class RealtimeBlocksTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.dEncoder = 0.02;
        settings_.nSerialReserveData = 1000;
        for (std::size_t k = 0; k < kSensorCount; ++k) {
            settings_.left[k] = {1.0, 0.0};
            settings_.right[k] = {1.0, 0.0};
        }
        blocks_.start(settings_);
    }

    std::size_t add(RailSide side, const std::vector<std::uint8_t>& bytes) {
        return blocks_.addBatch(side, bytes.data(), bytes.size(), [&](const RealtimeBlock& b) {
            EXPECT_GE(b.count, 1u);
            EXPECT_LE(b.count, kBlockCapacity);
            Pass pass{b.side, {}, {}, {}, b.frames, b.scrolls, b.removed};
            pass.distance.assign(b.distance.begin(), b.distance.begin() + b.count);
            pass.sensor1.assign(b.sensors[0].begin(), b.sensors[0].begin() + b.count);
            pass.sensor4.assign(b.sensors[3].begin(), b.sensors[3].begin() + b.count);
            passes_.push_back(pass);
        });
    }

    RealtimeSettings settings_;
    RealtimeBlocks blocks_;
    std::vector<Pass> passes_;
};

TEST_F(RealtimeBlocksTest, DistancesCountTheFramesOfEachSideFromZero) {
    const auto left = stream(RailSide::Left, 10);
    const auto right = stream(RailSide::Right, 3);
    EXPECT_EQ(add(RailSide::Left, {left.begin(), left.begin() + 48}), 4u);
    EXPECT_EQ(add(RailSide::Right, right), 3u);
    EXPECT_EQ(add(RailSide::Left, {left.begin() + 48, left.end()}), 6u);

    ASSERT_EQ(passes_.size(), 3u);
    EXPECT_EQ(passes_[0].distance, (std::vector<double>{0.0, 0.02, 2 * 0.02, 3 * 0.02}));
    EXPECT_EQ(passes_[1].side, RailSide::Right);
    EXPECT_EQ(passes_[1].distance, (std::vector<double>{0.0, 0.02, 2 * 0.02}));
    EXPECT_EQ(passes_[2].side, RailSide::Left);
    EXPECT_EQ(passes_[2].distance.front(), 4 * 0.02);
    EXPECT_EQ(passes_[2].distance.back(), 9 * 0.02);  // the tenth frame
    EXPECT_EQ(blocks_.frames(RailSide::Left), 10u);
    EXPECT_EQ(blocks_.frames(RailSide::Right), 3u);
}

TEST_F(RealtimeBlocksTest, EachSensorUsesTheCalibrationOfItsSide) {
    settings_.left[0] = {0.5, 1.0};
    settings_.left[3] = {0.25, -2.0};
    settings_.right[0] = {2.0, 0.5};
    settings_.right[3] = {-1.0, 0.0};
    blocks_.start(settings_);
    add(RailSide::Left, stream(RailSide::Left, 2, 40));  // words 40, 41 and 3040, 3041
    add(RailSide::Right, stream(RailSide::Right, 1, 7));
    ASSERT_EQ(passes_.size(), 2u);
    EXPECT_EQ(passes_[0].sensor1, (std::vector<double>{40 * 0.5 + 1.0, 41 * 0.5 + 1.0}));
    EXPECT_EQ(passes_[0].sensor4, (std::vector<double>{3040 * 0.25 - 2.0, 3041 * 0.25 - 2.0}));
    EXPECT_EQ(passes_[1].sensor1, (std::vector<double>{7 * 2.0 + 0.5}));
    EXPECT_EQ(passes_[1].sensor4, (std::vector<double>{-3007.0}));
}

// Curves hold what was added minus what was pushed out; the window spans
// removed..frames.
TEST_F(RealtimeBlocksTest, TheDisplayWindowScrollsOnceASideExceedsIt) {
    struct Case {
        std::int32_t window;
        std::size_t batchFrames;
        std::size_t batches;
        std::size_t points;       // left on each curve after the last batch
        std::uint32_t removed;    // R after the last batch
        std::size_t firstScroll;  // 1-based batch that scrolled first, 0: none
    };
    const Case cases[] = {
        {1000, 100, 10, 1000, 0, 0},     // exactly full: no scroll yet
        {1000, 100, 11, 1000, 100, 11},  // the eleventh batch pushes out 100
        {1000, 300, 4, 900, 300, 4},     // frames 900..1199 cross the limit
        {1000, 300, 6, 900, 900, 4},
        {0, 100, 3, 0, 300, 1},     // every batch pushed out right away
        {-1, 100, 30, 3000, 0, 0},  // unsigned: never scrolls
    };
    for (const Case& c : cases) {
        settings_.nSerialReserveData = c.window;
        blocks_.start(settings_);
        passes_.clear();
        std::size_t points = 0;
        for (std::size_t b = 0; b < c.batches; ++b) {
            add(RailSide::Left, stream(RailSide::Left, c.batchFrames, b * c.batchFrames));
        }
        std::size_t firstScroll = 0;
        for (std::size_t b = 0; b < passes_.size(); ++b) {
            if (!passes_[b].scrolls) {
                points += passes_[b].distance.size();
            } else if (firstScroll == 0) {
                firstScroll = b + 1;
            }
        }
        SCOPED_TRACE(::testing::Message()
                     << c.window << " / " << c.batchFrames << " x " << c.batches);
        ASSERT_EQ(passes_.size(), c.batches);
        EXPECT_EQ(points, c.points);
        EXPECT_EQ(passes_.back().removed, c.removed);
        EXPECT_EQ(passes_.back().frames, c.batchFrames * c.batches);
        EXPECT_EQ(firstScroll, c.firstScroll);
    }
}

TEST_F(RealtimeBlocksTest, APartialFrameWaitsForTheNextBatchOfItsOwnSide) {
    const auto left = stream(RailSide::Left, 1, 11);
    const auto right = stream(RailSide::Right, 2, 22);
    EXPECT_EQ(add(RailSide::Left, {left.begin(), left.begin() + 11}), 0u);
    EXPECT_EQ(add(RailSide::Right, {right.begin(), right.begin() + 17}), 1u);
    EXPECT_EQ(blocks_.pending(RailSide::Left), 11u);
    EXPECT_EQ(blocks_.pending(RailSide::Right), 5u);
    EXPECT_EQ(add(RailSide::Left, {left.begin() + 11, left.end()}), 1u);
    EXPECT_EQ(add(RailSide::Right, {right.begin() + 17, right.end()}), 1u);

    ASSERT_EQ(passes_.size(), 3u);
    EXPECT_EQ(passes_[1].side, RailSide::Left);
    EXPECT_EQ(passes_[1].sensor1, (std::vector<double>{11.0}));
    EXPECT_EQ(passes_[1].distance, (std::vector<double>{0.0}));
    EXPECT_EQ(passes_[2].sensor1, (std::vector<double>{23.0}));
    EXPECT_EQ(passes_[2].distance, (std::vector<double>{0.02}));
    EXPECT_EQ(blocks_.pending(RailSide::Left), 0u);
    EXPECT_EQ(blocks_.pending(RailSide::Right), 0u);
}

TEST_F(RealtimeBlocksTest, ABatchOfMoreFramesThanABlockIsHandedOnInPasses) {
    const auto bytes = stream(RailSide::Left, 683);
    add(RailSide::Left, {bytes.begin(), bytes.begin() + 4});
    EXPECT_EQ(add(RailSide::Left, {bytes.begin() + 4, bytes.end()}), 683u);  // 8192 bytes

    ASSERT_EQ(passes_.size(), 2u);
    EXPECT_EQ(passes_[0].distance.size(), kBlockCapacity);
    EXPECT_EQ(passes_[1].distance.size(), 683u - kBlockCapacity);
    EXPECT_EQ(passes_[1].distance.front(), 510 * 0.02);
    EXPECT_EQ(passes_[1].sensor1.back(), 682.0);
    EXPECT_EQ(passes_[1].frames, 683u);
    EXPECT_EQ(blocks_.pending(RailSide::Left), 0u);
}

// Whatever the alignment and noise, no pass carries more than a block and no
// frame is lost or repeated.
TEST_F(RealtimeBlocksTest, LargeNoisyBatchesKeepEveryFrameInOrder) {
    std::vector<std::uint8_t> bytes{0x00, kLeftSyncByte, 0x13};
    for (std::size_t i = 0; i < 3000; ++i) {
        const auto frame = makeFrame(RailSide::Left, wordsOfFrame(i));
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        if (i % 700 == 0) {
            bytes.push_back(0xEE);
        }
    }
    const std::size_t split = 7;
    add(RailSide::Left, {bytes.begin(), bytes.begin() + split});
    EXPECT_EQ(add(RailSide::Left, {bytes.begin() + split, bytes.end()}), 3000u);
    std::vector<double> words;
    for (const Pass& pass : passes_) {
        words.insert(words.end(), pass.sensor1.begin(), pass.sensor1.end());
    }
    ASSERT_EQ(words.size(), 3000u);
    for (std::size_t i = 0; i < words.size(); ++i) {
        ASSERT_EQ(words[i], static_cast<double>(i));
    }
}

TEST_F(RealtimeBlocksTest, ABatchOfAnotherSideIsDropped) {
    const auto bytes = stream(RailSide::Left, 3);
    for (const auto side : {RailSide::None, static_cast<RailSide>(3)}) {
        EXPECT_EQ(add(side, bytes), 0u);
        EXPECT_EQ(blocks_.pending(side), 0u);
    }
    EXPECT_TRUE(passes_.empty());
    EXPECT_EQ(blocks_.pending(RailSide::Left) + blocks_.pending(RailSide::Right), 0u);
}

TEST_F(RealtimeBlocksTest, AStartEmptiesTheQueuesAndRestartsTheCounts) {
    settings_.nSerialReserveData = 5;
    blocks_.start(settings_);
    add(RailSide::Left, stream(RailSide::Left, 8));
    const auto right = stream(RailSide::Right, 1);
    add(RailSide::Right, {right.begin(), right.begin() + 11});
    ASSERT_TRUE(passes_.back().scrolls);

    settings_.dEncoder = 0.5;
    blocks_.start(settings_);
    EXPECT_EQ(blocks_.frames(RailSide::Left), 0u);
    EXPECT_EQ(blocks_.pending(RailSide::Right), 0u);
    passes_.clear();
    add(RailSide::Left, stream(RailSide::Left, 2));
    add(RailSide::Right, stream(RailSide::Right, 1));  // the 11 stale bytes are gone
    ASSERT_EQ(passes_.size(), 2u);
    EXPECT_EQ(passes_[0].distance, (std::vector<double>{0.0, 0.5}));
    EXPECT_EQ(passes_[0].removed, 0u);
    EXPECT_FALSE(passes_[0].scrolls);
    EXPECT_EQ(passes_[1].distance, (std::vector<double>{0.0}));
}

}  // namespace
}  // namespace sundrel::frames
