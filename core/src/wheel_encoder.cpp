#include "core/wheel_encoder.h"

#include <cmath>

#include "core/profile_helpers.h"

namespace sundrel::core {
namespace {

constexpr double kPi = 3.1415926;  // the value the sensor boxes' firmware was set up with
constexpr double kFrameTravelMm = 20.0;

}  // namespace

WheelEncoderSetting checkWheelAndEncoder(const std::string& wheelText,
                                         const std::string& encoderText) {
    WheelEncoderSetting setting;
    const double diameter = leadingDouble(wheelText);
    if (!(diameter >= 100.0 && diameter <= 300.0)) {
        setting.verdict = WheelEncoderSetting::Verdict::BadWheel;
        return setting;
    }
    const std::int32_t pulses = leadingInt(encoderText);
    if (pulses < 1000 || pulses > 10000) {
        setting.verdict = WheelEncoderSetting::Verdict::BadEncoder;
        return setting;
    }
    const double circumference = diameter * kPi;
    const auto perFrame = static_cast<std::int32_t>(
        std::trunc(static_cast<double>(pulses) / (circumference / kFrameTravelMm) + 0.5));
    setting.verdict = WheelEncoderSetting::Verdict::Accepted;
    setting.wheelDiameterMm = diameter;
    setting.pulsesPerTurn = pulses;
    setting.pulsesPerFrame = perFrame;
    // Frames per turn is pulses / pulses per frame as a real number: an
    // integer quotient would misstate the travel per frame by up to a few %.
    setting.metresPerFrame =
        circumference / (static_cast<double>(pulses) / static_cast<double>(perFrame)) / 1000.0;
    return setting;
}

}  // namespace sundrel::core
