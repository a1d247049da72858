#pragma once

#include <array>
#include <cstddef>

namespace kestova {

// Three sensors of a frame form one chord sample; offsets are along the rail,
// positive towards increasing sample index. The weights sum to zero and their
// first moment is zero, so a bounce or a pitch of the device cancels out.
struct ChordTap {
    std::size_t sensor;  // index of the sensor word, 0 = 1#
    double weight;
    double offsetMm;
};
inline constexpr std::array<ChordTap, 3> kChordTaps = {{
    {0, 0.13, -696.0},
    {1, -0.4406779661016949, -132.0},
    {3, 0.3106779661016949, 104.0},
}};

// The value of pi the inversion uses.
inline constexpr double kPi = 3.1415926;

inline constexpr std::size_t kFileHeaderSize = 1710;
inline constexpr std::size_t kMinimumFileSize = 17100;
inline constexpr std::size_t kSideProbeBytes = 1024;
inline constexpr std::size_t kReadChunkBytes = 2048;
// Assumed travel per frame when a file has no trailer to give its end, metres.
inline constexpr double kEstimatedMetresPerFrame = 0.02;

inline constexpr std::size_t kBandCount = 4;

}  // namespace kestova
