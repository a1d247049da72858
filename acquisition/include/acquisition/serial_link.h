#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "acquisition/raw_file_header.h"
#include "acquisition/status_code.h"
#include "platform/serial_port.h"

namespace sundrel::acquisition {

// What the program says to a sensor box. Every other byte on the line comes
// from the box. There is no stop command: a run ends when the port closes.
using BoxCommand = std::array<std::uint8_t, 4>;

// FA FA P (P - 12), P the low byte of nCollectionCommand (pulses per frame).
BoxCommand startCommand(std::int32_t collectionCommand);

// FF FF 0D 0C: the box answers with one frame.
inline constexpr BoxCommand kCalibrationRequest = {0xFF, 0xFF, 0x0D, 0x0C};

// Bytes a calibration delivery reads at most; more stay queued for the next.
inline constexpr int kCalibrationReadBytes = 256;

// The port's speed and character frame from a header's line parameters, and
// the three further settings (no flow control, no read or write timeout).
// SetPortError when any of them fails.
StatusCode configureLine(platform::SerialPort& port, const LineParameters& line);

// Line settings as above, both directions flushed, and `onBytes` called on the
// port's reader thread whenever at least one byte waits. SetPortError on
// failure.
StatusCode configureForCalibration(platform::SerialPort& port, const LineParameters& line,
                                   std::function<void()> onBytes);

// What the calibration callback does: nothing while fewer than 12 bytes (one
// frame) wait; otherwise reads at most 256 and hands them to `deliver` (valid
// only during the call).
void readCalibrationBytes(platform::SerialPort& port,
                          const std::function<void(const std::uint8_t*, std::size_t)>& deliver);

// Flushes both directions and closes. ClosePortError when the close failed.
StatusCode closePort(platform::SerialPort& port);

}  // namespace sundrel::acquisition
