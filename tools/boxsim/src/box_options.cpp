#include "boxsim/box_options.h"

#include <algorithm>
#include <numbers>

namespace sundrel::boxsim {

double metresPerFrame(double wheelDiameterMm, int pulsesPerTurn, int pulsesPerFrame) {
    return std::numbers::pi * wheelDiameterMm / 1000.0 /
           (static_cast<double>(pulsesPerTurn) / pulsesPerFrame);
}

double framesPerSecond(const BoxOptions& options, int pulsesPerFrame) {
    if (options.rateFps) {
        return std::min(*options.rateFps, kLineRateFramesPerS);
    }
    const double metresPerS = options.speedKmh / 3.6;
    return std::min(
        metresPerS / metresPerFrame(options.wheelDiameterMm, options.pulsesPerTurn, pulsesPerFrame),
        kLineRateFramesPerS);
}

std::vector<std::uint8_t> strayBytes(frames::RailSide side) {
    return {0x55, frames::syncByteFor(side), 0xAA, 0x00, 0x0D};
}

}  // namespace sundrel::boxsim
