#pragma once

#include <cstdint>
#include <string>

namespace sundrel::core {

// The outcome of the wheel and encoder check.
struct WheelEncoderSetting {
    enum class Verdict { Accepted, BadWheel, BadEncoder };
    Verdict verdict = Verdict::BadWheel;
    double wheelDiameterMm = 0;       // dWheelDia, 100..300
    std::int32_t pulsesPerTurn = 0;   // nEncoder, 1000..10000
    std::int32_t pulsesPerFrame = 0;  // nCollectionCommand: pulses nearest to 20 mm of travel
    double metresPerFrame = 0;        // dEncoder
};

// Checks the ribbon texts of wheel diameter (mm) and encoder pulses per turn
// and derives the pulses per frame and distance per frame. Texts read as
// their leading number, as the configuration file does.
WheelEncoderSetting checkWheelAndEncoder(const std::string& wheelText,
                                         const std::string& encoderText);

// Message box texts of the check.
inline constexpr const char* kBadWheelText = "车轮直径设置不合理！";
inline constexpr const char* kBadEncoderText = "编码器的脉冲个数设置不合理！";
inline constexpr const char* kSettingAcceptedText = "设置成功";

}  // namespace sundrel::core
