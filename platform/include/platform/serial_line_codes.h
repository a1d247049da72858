#pragma once

namespace sundrel::platform {

// Line settings of a serial port as the program stores and passes them: a
// baud code for the speed and a mode word for the character frame.

inline constexpr int kBaudCode9600 = 0x0C;
inline constexpr int kBaudCode19200 = 0x0D;
inline constexpr int kBaudCode38400 = 0x0E;
inline constexpr int kBaudCode115200 = 0x10;

// Mode word = data bits | stop bits | parity.
inline constexpr int kModeDataBits5 = 0x00;
inline constexpr int kModeDataBits6 = 0x01;
inline constexpr int kModeDataBits7 = 0x02;
inline constexpr int kModeDataBits8 = 0x03;
inline constexpr int kModeDataBitsMask = 0x03;
inline constexpr int kModeStopBits1 = 0x00;
inline constexpr int kModeStopBits2 = 0x04;
inline constexpr int kModeParityNone = 0x00;
inline constexpr int kModeParityOdd = 0x08;
inline constexpr int kModeParityEven = 0x18;
inline constexpr int kModeParityMask = 0x18;

// Baud code of a line speed in bit/s: 9600, 19200 and 38400 have their own
// codes; every other speed runs at 115200 bit/s, the boxes' default.
constexpr int baudCodeFor(int baud) {
    switch (baud) {
        case 9600:
            return kBaudCode9600;
        case 19200:
            return kBaudCode19200;
        case 38400:
            return kBaudCode38400;
        default:
            return kBaudCode115200;
    }
}

// Mode word of a character frame. dataBits 5 .. 8 (anything else gives 8),
// stopBits 1 or 2 (anything but 2 gives 1), parity 'E' even, 'O' odd,
// anything else none.
constexpr int modeWordFor(int dataBits, int stopBits, char parity) {
    int mode = kModeDataBits8;
    if (dataBits >= 5 && dataBits <= 8) {
        mode = dataBits - 5;
    }
    if (stopBits == 2) {
        mode |= kModeStopBits2;
    }
    if (parity == 'E') {
        mode |= kModeParityEven;
    } else if (parity == 'O') {
        mode |= kModeParityOdd;
    }
    return mode;
}

}  // namespace sundrel::platform
