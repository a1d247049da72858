#include "calibration/calibration_reader.h"

#include "frames/frame_decoder.h"

namespace sundrel::calibration {

std::optional<frames::SensorWords> CalibrationReader::add(const std::uint8_t* bytes,
                                                          std::size_t count,
                                                          frames::RailSide side) {
    queue_.append(bytes, count);
    if (frames::detectSide(queue_.data(), queue_.size()) != side) {
        queue_.clear();
        return std::nullopt;
    }
    frames::SensorWords last{};
    const std::size_t accepted =
        frames::scanFrames(queue_, side, [&](const frames::SensorWords& words) { last = words; });
    if (accepted != 1) {
        return std::nullopt;
    }
    return last;
}

}  // namespace sundrel::calibration
