#include "acquisition/port_devices.h"

#include <cctype>

#include "platform/private_profile.h"

namespace sundrel::acquisition {

std::string portName(int port) {
    return port >= 1 ? "COM" + std::to_string(port) : std::string();
}

std::string portDevicePath(int port, const std::string& configPath) {
    if (port < 1) {
        return {};
    }
    const std::string mapped =
        platform::readProfileString("PORT_DEVICES", portName(port), "", configPath);
    return mapped.empty() ? "/dev/ttyS" + std::to_string(port - 1) : mapped;
}

int portNumberOf(const std::string& portText) {
    std::string digits = portText;
    if (digits.size() > 3 &&
        (digits.compare(0, 3, "COM") == 0 || digits.compare(0, 3, "com") == 0)) {
        digits = digits.substr(3);
    }
    if (digits.empty() || digits.size() > 6) {
        return 0;
    }
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
    }
    return std::stoi(digits);
}

std::string devicePathOf(const std::string& portText, const std::string& configPath) {
    if (portText.find('/') != std::string::npos) {
        return portText;
    }
    const int port = portNumberOf(portText);
    return port > 0 ? portDevicePath(port, configPath) : std::string();
}

}  // namespace sundrel::acquisition
