#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/raw_file_header.h"

namespace sundrel::acquisition {

// What the operator chose for a run of both rails (texts UTF-8).
struct RunSetup {
    int leftPort = 0;  // n of COMn
    int rightPort = 0;
    int baud = 115200;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    std::int32_t collectionCommand = 0;  // encoder pulses per frame
    std::int32_t dataBytesTrigger = 0;   // batch size, bytes
    bool forward = true;
    double positionM = 0;   // km-post position at the start, metres
    std::string folder;     // empty: the working folder
    std::string leftName;   // empty: <start time>_left.raw
    std::string rightName;  // empty: <start time>_right.raw
    std::string lineName;
    std::string department;
    std::string staffName;
};

struct RunHeaders {
    RawFileHeader left;
    RawFileHeader right;
};

// The leading headers of a run's two files, named after `startTime` (14
// digits) unless the setup names them. dEncoder and the calibration pairs
// stay 0: they come from the settings.
RunHeaders makeRunHeaders(const RunSetup& setup, std::string_view startTime);

}  // namespace sundrel::acquisition
