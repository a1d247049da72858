#pragma once

#include <string_view>

namespace sundrel::acquisition {

// Results of the acquisition, calibration and configuration operations.
enum class StatusCode : int {
    Success = 0,
    UnknownError = 1,
    PortNotOpened = 2,
    SetPortError = 3,
    ClosePortError = 4,
    PortWriteError = 5,
    CreateThreadError = 6,
    ConfigurationFileError = 7,
    ThreadSuspendError = 8,
    OpenFileError = 9,
    WriteFileError = 10,
    EddyNumberError = 11,
};

// The fixed English text the operator sees for a code; empty for codes that
// show nothing (0 and 8) and for values outside the table.
std::string_view statusText(StatusCode code);

}  // namespace sundrel::acquisition
