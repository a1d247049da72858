#include "acquisition/serial_link.h"

#include <algorithm>

#include "frames/sensor_frame.h"
#include "platform/serial_line_codes.h"

namespace sundrel::acquisition {

BoxCommand startCommand(std::int32_t collectionCommand) {
    const auto pulses = static_cast<std::uint8_t>(collectionCommand & 0xFF);
    return {0xFA, 0xFA, pulses, static_cast<std::uint8_t>(pulses - 12)};
}

StatusCode configureLine(platform::SerialPort& port, const LineParameters& line) {
    const int baud = platform::baudCodeFor(line.nBaud);
    const int mode = platform::modeWordFor(line.nDatabits, line.nStopbits, line.chParity);
    const bool configured = port.setLineParameters(baud, mode) == 0 &&
                            port.setFlowControl(platform::SerialPort::kFlowNone) == 0 &&
                            port.setReadTimeout(0) == 0 && port.setWriteTimeout(0) == 0;
    return configured ? StatusCode::Success : StatusCode::SetPortError;
}

StatusCode configureForCalibration(platform::SerialPort& port, const LineParameters& line,
                                   std::function<void()> onBytes) {
    if (configureLine(port, line) != StatusCode::Success) {
        return StatusCode::SetPortError;
    }
    port.flush(2);
    return port.setCountCallback(std::move(onBytes), 1) == 0 ? StatusCode::Success
                                                             : StatusCode::SetPortError;
}

void readCalibrationBytes(platform::SerialPort& port,
                          const std::function<void(const std::uint8_t*, std::size_t)>& deliver) {
    const int waiting = port.inputQueueCount();
    if (waiting < static_cast<int>(frames::kFrameSize)) {
        return;
    }
    std::array<std::uint8_t, kCalibrationReadBytes> buffer{};
    const int read = port.read(buffer.data(),
                               static_cast<std::size_t>(std::min(waiting, kCalibrationReadBytes)));
    if (read > 0) {
        deliver(buffer.data(), static_cast<std::size_t>(read));
    }
}

StatusCode closePort(platform::SerialPort& port) {
    port.flush(2);
    return port.close() == 0 ? StatusCode::Success : StatusCode::ClosePortError;
}

}  // namespace sundrel::acquisition
