#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sundrel::acquisition {

// What the measurement panel shows and accepts, without windows.

// The km-post position a run has reached, "%d+%d" (km, then metres, each
// truncated toward zero): the start position plus or minus the whole frames
// in `deliveredBytes` times dEncoder (metres per frame).
std::string runningPositionText(std::uint32_t deliveredBytes, double metresPerFrame, double startM,
                                bool forward);

// The end position typed at a stop, metres: "K+M" is K km and M metres
// ("0km+0m" reads as 0), any other text a number of metres, which must be at
// least 1. None when rejected. The position must not lie behind the start
// in the run's direction.
std::optional<double> stopPosition(const std::string& text, double startM, bool forward);

// The distance per frame a run measured: |stop - start| over its frames,
// for runs longer than 50 m with at least one frame; none otherwise.
std::optional<double> measuredMetresPerFrame(double startM, double stopM,
                                             std::uint32_t dataByteCount);

}  // namespace sundrel::acquisition
