#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "frames/frame_queue.h"
#include "frames/sensor_frame.h"

namespace sundrel::calibration {

// Picks the one answer of the calibrated side out of what both boxes send
// after a calibration request. Bytes are queued; when the first pair of
// equal sync bytes in the queue is not the calibrated side's, the queue is
// emptied (the other box's answer); otherwise the queue is scanned, and
// exactly one frame makes a reading: none or several make none.
class CalibrationReader {
public:
    std::optional<frames::SensorWords> add(const std::uint8_t* bytes, std::size_t count,
                                           frames::RailSide side);
    std::size_t pending() const { return queue_.size(); }

private:
    frames::FrameQueue queue_;
};

}  // namespace sundrel::calibration
