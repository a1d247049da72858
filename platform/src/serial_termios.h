#pragma once

#include <termios.h>

namespace sundrel::platform {

// Puts the terminal settings into the state the sensor boxes need: raw
// 8-bit bytes in both directions (no line editing, echo, signals, CR/LF
// translation or XON/XOFF), modem lines ignored, receiver on, and a read
// that returns at once with what is there.
void makeRawLine(termios& settings);

// Speed and character frame of a baud code and mode word (serial_line_codes.h).
// False, with `settings` untouched, for an unknown baud code or mode bits.
bool applyLineParameters(termios& settings, int baudCode, int modeWord);

// Flow control of a SerialPort flow mode (kFlowNone, kFlowRtsCts, kFlowXonXoff
// or both). False, with `settings` untouched, for unknown bits.
bool applyFlowControl(termios& settings, int mode);

}  // namespace sundrel::platform
