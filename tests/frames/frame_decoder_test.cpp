#include "frames/frame_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace sundrel::frames {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<SensorWords> decodeAll(FrameDecoder& decoder) {
    std::vector<SensorWords> words;
    decoder.decode([&](const SensorWords& w) { words.push_back(w); });
    return words;
}

std::vector<SensorWords> decodeBytes(RailSide side, const Bytes& bytes) {
    FrameDecoder decoder(side);
    decoder.append(bytes.data(), bytes.size());
    return decodeAll(decoder);
}

Bytes frameBytes(RailSide side, SensorWords words, std::uint8_t filler = 0) {
    const auto frame = makeFrame(side, words, filler);
    return {frame.begin(), frame.end()};
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(FrameDecoder, ReadsBigEndianWordsWhateverBytes2And11Hold) {
    for (const int value : {0x00, 0x07, 0xFC, 0xFF}) {
        const auto filler = static_cast<std::uint8_t>(value);
        Bytes bytes = {0xFC, 0xFC, filler, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, filler};
        const auto words = decodeBytes(RailSide::Left, bytes);
        ASSERT_EQ(words.size(), 1u);
        EXPECT_EQ(words[0], (SensorWords{0x1234, 0x5678, 0x9ABC, 0xDEF0}));
    }
}

TEST(FrameDecoder, SkipsTheOtherSideByteByByte) {
    const Bytes rightFrame = frameBytes(RailSide::Right, {1, 2, 3, 4});
    const Bytes leftFrame = frameBytes(RailSide::Left, {5, 6, 7, 8});
    EXPECT_EQ(decodeBytes(RailSide::Left, concat({rightFrame, leftFrame})),
              (std::vector<SensorWords>{{5, 6, 7, 8}}));
    EXPECT_EQ(decodeBytes(RailSide::Right, concat({rightFrame, leftFrame})),
              (std::vector<SensorWords>{{1, 2, 3, 4}}));
}

TEST(FrameDecoder, ResynchronisesOnTheNextSyncPair) {
    // FC 00 FC FC ...: the lone FC and the 00 go, the frame at byte 2 stays.
    const Bytes bytes = concat({{0xFC, 0x00}, frameBytes(RailSide::Left, {9, 9, 9, 9})});
    EXPECT_EQ(decodeBytes(RailSide::Left, bytes), (std::vector<SensorWords>{{9, 9, 9, 9}}));
}

TEST(FrameDecoder, KeepsAPartialFrameUntilItsLastByte) {
    const Bytes frame = frameBytes(RailSide::Right, {0xFFFF, 0, 0x8000, 1});
    FrameDecoder decoder(RailSide::Right);
    decoder.append(frame.data(), 11);
    EXPECT_TRUE(decodeAll(decoder).empty());
    EXPECT_EQ(decoder.pending(), 11u);
    decoder.append(frame.data() + 11, 1);
    EXPECT_EQ(decodeAll(decoder), (std::vector<SensorWords>{{0xFFFF, 0, 0x8000, 1}}));
    EXPECT_EQ(decoder.pending(), 0u);
}

TEST(FrameDecoder, ClearDropsQueuedBytes) {
    const Bytes frame = frameBytes(RailSide::Left, {1, 2, 3, 4});
    FrameDecoder decoder(RailSide::Left);
    decoder.append(frame.data(), 6);
    decoder.clear();
    decoder.append(frame.data() + 6, 6);
    EXPECT_TRUE(decodeAll(decoder).empty());
}

// However a stream is cut into chunks, every frame decodes exactly once.
TEST(FrameDecoder, ChunkingDoesNotChangeTheFrames) {
    std::mt19937 random(42);
    Bytes stream;
    std::vector<SensorWords> expected;
    for (int i = 0; i < 400; ++i) {
        if (i % 37 == 0) {
            stream.push_back(0x5A);  // a stray byte now and then
        }
        const SensorWords words = {
            static_cast<std::uint16_t>(random()), static_cast<std::uint16_t>(random()),
            static_cast<std::uint16_t>(random()), static_cast<std::uint16_t>(random())};
        // Sync bytes inside the words could start a false frame; keep them out.
        const Bytes frame = frameBytes(RailSide::Left, words);
        if (std::count(frame.begin() + 2, frame.end(), 0xFC) > 0) {
            continue;
        }
        stream.insert(stream.end(), frame.begin(), frame.end());
        expected.push_back(words);
    }
    for (std::size_t chunk : {1u, 5u, 11u, 12u, 13u, 2048u}) {
        FrameDecoder decoder(RailSide::Left);
        std::vector<SensorWords> got;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            decoder.append(stream.data() + at, std::min(chunk, stream.size() - at));
            decoder.decode([&](const SensorWords& w) { got.push_back(w); });
        }
        EXPECT_EQ(got, expected) << "chunk " << chunk;
    }
}

}  // namespace
}  // namespace sundrel::frames
