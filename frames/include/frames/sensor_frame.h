#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sundrel::frames {

// Which rail a sensor box measures. The value travels in files and messages.
enum class RailSide : std::int32_t { None = 0, Left = 1, Right = 2 };

// A box sends one 12-byte frame per encoder trigger:
//   0-1  sync byte twice (0xFC left, 0xFD right)
//   2    not interpreted
//   3-10 four big-endian unsigned 16-bit sensor words, sensors 1# to 4#
//   11   not interpreted
inline constexpr std::size_t kFrameSize = 12;
inline constexpr std::uint8_t kLeftSyncByte = 0xFC;
inline constexpr std::uint8_t kRightSyncByte = 0xFD;
inline constexpr std::size_t kSensorCount = 4;
inline constexpr std::array<std::size_t, kSensorCount> kSensorWordOffsets = {3, 5, 7, 9};

// Raw readings of sensors 1# to 4#, counts 0..65535.
using SensorWords = std::array<std::uint16_t, kSensorCount>;

// The sync byte of a side: 0xFC for the left rail, 0xFD for any other value.
constexpr std::uint8_t syncByteFor(RailSide side) {
    return side == RailSide::Left ? kLeftSyncByte : kRightSyncByte;
}

// Reads the four sensor words of the frame that starts at `frame`.
constexpr SensorWords readSensorWords(const std::uint8_t* frame) {
    SensorWords words{};
    for (std::size_t k = 0; k < kSensorCount; ++k) {
        const std::size_t at = kSensorWordOffsets[k];
        words[k] = static_cast<std::uint16_t>(frame[at] << 8 | frame[at + 1]);
    }
    return words;
}

// Writes one frame of `side` with the given words; bytes 2 and 11 get `filler`.
constexpr std::array<std::uint8_t, kFrameSize> makeFrame(RailSide side, const SensorWords& words,
                                                         std::uint8_t filler = 0) {
    std::array<std::uint8_t, kFrameSize> frame{};
    frame[0] = frame[1] = syncByteFor(side);
    frame[2] = frame[11] = filler;
    for (std::size_t k = 0; k < kSensorCount; ++k) {
        frame[kSensorWordOffsets[k]] = static_cast<std::uint8_t>(words[k] >> 8);
        frame[kSensorWordOffsets[k] + 1] = static_cast<std::uint8_t>(words[k] & 0xFF);
    }
    return frame;
}

// Side of the first pair of identical sync bytes in a block: Left for FC FC,
// Right for FD FD, None when the block holds no such pair. Callers decide what
// None means.
RailSide detectSide(const std::uint8_t* bytes, std::size_t count);

}  // namespace sundrel::frames
