#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sundrel::boxsim {

// What a host asks of a sensor box:
//   FA FA P (P-12)&0xFF  start acquisition, one frame every P encoder pulses
//   FF FF 0D 0C          calibration request, answered with one frame
struct HostCommand {
    enum class Kind { Start, Calibration };
    Kind kind = Kind::Start;
    int pulsesPerFrame = 0;  // Start only: P, 1..255
};

// Finds host commands in the bytes read from a serial line. Commands may be
// split across reads and surrounded by stray bytes; a start whose check byte
// does not match, or whose P is 0, is not a command.
class HostCommandParser {
public:
    // The commands that the bytes complete, in the order they arrived.
    std::vector<HostCommand> feed(const std::uint8_t* bytes, std::size_t count);

    // Forgets a partly received command, as when the host hangs up.
    void reset() { heldCount_ = 0; }

private:
    bool heldIsCommandStart() const;

    std::array<std::uint8_t, 4> held_{};
    std::size_t heldCount_ = 0;
};

}  // namespace sundrel::boxsim
