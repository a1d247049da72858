#include "boxsim/host_command_parser.h"

#include <algorithm>

namespace sundrel::boxsim {
namespace {

constexpr std::uint8_t kStartByte = 0xFA;
constexpr std::uint8_t kCalibrationByte = 0xFF;
constexpr std::array<std::uint8_t, 4> kCalibrationRequest = {0xFF, 0xFF, 0x0D, 0x0C};

constexpr std::uint8_t startCheckByte(std::uint8_t pulses) {
    return static_cast<std::uint8_t>((pulses - 12) & 0xFF);
}

}  // namespace

bool HostCommandParser::heldIsCommandStart() const {
    const std::uint8_t first = held_[0];
    if (first == kCalibrationByte) {
        return std::equal(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(heldCount_),
                          kCalibrationRequest.begin());
    }
    if (first != kStartByte) {
        return false;
    }
    return (heldCount_ < 2 || held_[1] == kStartByte) && (heldCount_ < 3 || held_[2] != 0) &&
           (heldCount_ < 4 || held_[3] == startCheckByte(held_[2]));
}

std::vector<HostCommand> HostCommandParser::feed(const std::uint8_t* bytes, std::size_t count) {
    std::vector<HostCommand> commands;
    for (std::size_t n = 0; n < count; ++n) {
        held_[heldCount_++] = bytes[n];
        // Drop leading bytes until what is held can still become a command.
        while (heldCount_ > 0 && !heldIsCommandStart()) {
            std::copy(held_.begin() + 1, held_.begin() + static_cast<std::ptrdiff_t>(heldCount_),
                      held_.begin());
            --heldCount_;
        }
        if (heldCount_ == held_.size()) {
            if (held_[0] == kStartByte) {
                commands.push_back({HostCommand::Kind::Start, held_[2]});
            } else {
                commands.push_back({HostCommand::Kind::Calibration, 0});
            }
            heldCount_ = 0;
        }
    }
    return commands;
}

}  // namespace sundrel::boxsim
