#pragma once

#include <string>

namespace sundrel::acquisition {

// The device a port number opens. config.ini may name it in the section
// [PORT_DEVICES], keys COM1, COM2, ... (COM3=/dev/pts/7, COM1=/dev/ttyUSB0);
// a number without an entry opens /dev/ttyS(n-1). The section is edited by
// hand and never written by the program.
std::string portDevicePath(int port, const std::string& configPath);

// The number of a port written as "3" or "COM3"; 0 for any other text.
int portNumberOf(const std::string& portText);

// A port given on a command line: a number ("3" or "COM3") through the map
// above, or a device path as it stands. Empty for a text that is neither.
std::string devicePathOf(const std::string& portText, const std::string& configPath);

// "COM3" of a number, "" of one below 1.
std::string portName(int port);

}  // namespace sundrel::acquisition
