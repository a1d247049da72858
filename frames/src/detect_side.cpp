#include "frames/sensor_frame.h"

namespace sundrel::frames {

RailSide detectSide(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (bytes[i] == kLeftSyncByte && bytes[i + 1] == kLeftSyncByte) {
            return RailSide::Left;
        }
        if (bytes[i] == kRightSyncByte && bytes[i + 1] == kRightSyncByte) {
            return RailSide::Right;
        }
    }
    return RailSide::None;
}

}  // namespace sundrel::frames
