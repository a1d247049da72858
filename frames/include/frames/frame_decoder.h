#pragma once

#include <cstddef>
#include <cstdint>

#include "frames/frame_queue.h"
#include "frames/sensor_frame.h"

namespace sundrel::frames {

// Turns one side's byte stream into sensor words. Every consumer (real-time
// view, calibration view, analysis engine) scans with this one rule:
//   while at least 12 bytes are queued: if byte 0 or byte 1 is not the side's
//   sync byte drop one byte, else take the 12 bytes as a frame.
// Bytes 2 and 11 are never tested; fewer than 12 bytes wait for more.
class FrameDecoder {
public:
    explicit FrameDecoder(RailSide side) : sync_(syncByteFor(side)) {}

    void append(const std::uint8_t* bytes, std::size_t count) { queue_.append(bytes, count); }
    void clear() { queue_.clear(); }
    std::size_t pending() const { return queue_.size(); }
    const FrameQueue& queue() const { return queue_; }

    // Hands the words of every accepted frame to sink(const SensorWords&), in
    // stream order; returns the number of frames accepted by this call.
    template <typename Sink>
    std::size_t decode(Sink&& sink) {
        const std::uint8_t* bytes = queue_.data();
        const std::size_t size = queue_.size();
        std::size_t at = 0;
        std::size_t frames = 0;
        while (size - at >= kFrameSize) {
            if (bytes[at] != sync_ || bytes[at + 1] != sync_) {
                ++at;
                continue;
            }
            sink(readSensorWords(bytes + at));
            at += kFrameSize;
            ++frames;
        }
        queue_.dropFront(at);
        return frames;
    }

private:
    FrameQueue queue_;
    std::uint8_t sync_;
};

}  // namespace sundrel::frames
