#include "serial_termios.h"

#include "platform/serial_line_codes.h"
#include "platform/serial_port.h"

namespace sundrel::platform {

namespace {

bool speedOf(int baudCode, speed_t& speed) {
    switch (baudCode) {
        case kBaudCode9600:
            speed = B9600;
            return true;
        case kBaudCode19200:
            speed = B19200;
            return true;
        case kBaudCode38400:
            speed = B38400;
            return true;
        case kBaudCode115200:
            speed = B115200;
            return true;
        default:
            return false;
    }
}

}  // namespace

void makeRawLine(termios& settings) {
    cfmakeraw(&settings);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    settings.c_cflag |= CLOCAL | CREAD;
    // The reader thread waits in poll(); a read only collects what arrived.
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
}

bool applyLineParameters(termios& settings, int baudCode, int modeWord) {
    speed_t speed = B0;
    if (!speedOf(baudCode, speed)) {
        return false;
    }
    constexpr int kKnownBits = kModeDataBitsMask | kModeStopBits2 | kModeParityMask;
    const int parity = modeWord & kModeParityMask;
    if ((modeWord & ~kKnownBits) != 0 ||
        (parity != kModeParityNone && parity != kModeParityOdd && parity != kModeParityEven)) {
        return false;
    }
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    termios changed = settings;
    changed.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD);
    changed.c_cflag |= kSizes[modeWord & kModeDataBitsMask];
    if ((modeWord & kModeStopBits2) != 0) {
        changed.c_cflag |= CSTOPB;
    }
    if (parity == kModeParityOdd) {
        changed.c_cflag |= PARENB | PARODD;
    } else if (parity == kModeParityEven) {
        changed.c_cflag |= PARENB;
    }
    if (cfsetispeed(&changed, speed) != 0 || cfsetospeed(&changed, speed) != 0) {
        return false;
    }
    settings = changed;
    return true;
}

bool applyFlowControl(termios& settings, int mode) {
    if ((mode & ~(SerialPort::kFlowRtsCts | SerialPort::kFlowXonXoff)) != 0) {
        return false;
    }
    if ((mode & SerialPort::kFlowRtsCts) != 0) {
        settings.c_cflag |= CRTSCTS;
    } else {
        settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    }
    if ((mode & SerialPort::kFlowXonXoff) != 0) {
        settings.c_iflag |= IXON | IXOFF;
    } else {
        settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
    }
    return true;
}

}  // namespace sundrel::platform
