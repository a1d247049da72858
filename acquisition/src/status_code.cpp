#include "acquisition/status_code.h"

namespace sundrel::acquisition {

std::string_view statusText(StatusCode code) {
    switch (code) {
        case StatusCode::UnknownError:
            return "unknow error";
        case StatusCode::PortNotOpened:
            return "Port number is invalid or port is not opened in advance";
        case StatusCode::SetPortError:
            return "set pot error";
        case StatusCode::ClosePortError:
            return "close port error";
        case StatusCode::PortWriteError:
            return "port write error";
        case StatusCode::CreateThreadError:
            return "create thread error";
        case StatusCode::ConfigurationFileError:
            return "configuration file error";
        case StatusCode::OpenFileError:
            return "open file error";
        case StatusCode::WriteFileError:
            return "write file error";
        case StatusCode::EddyNumberError:
            return "eddy number error";
        case StatusCode::Success:
        case StatusCode::ThreadSuspendError:
            break;
    }
    return {};
}

}  // namespace sundrel::acquisition
