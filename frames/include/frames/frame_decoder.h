#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "frames/frame_queue.h"
#include "frames/sensor_frame.h"

namespace sundrel::frames {

// The one scanning rule every consumer (real-time view, calibration view,
// analysis engine) uses on a side's bytes:
//   while at least 12 bytes are queued: if byte 0 or byte 1 is not the side's
//   sync byte drop one byte, else take the 12 bytes as a frame.
// Bytes 2 and 11 are never tested; fewer than 12 bytes wait for more. Hands
// the words of every accepted frame to sink(const SensorWords&), in stream
// order, and returns the number of frames accepted.
template <typename Sink>
std::size_t scanFrames(FrameQueue& queue, RailSide side, Sink&& sink) {
    const std::uint8_t sync = syncByteFor(side);
    const std::uint8_t* bytes = queue.data();
    const std::size_t size = queue.size();
    std::size_t at = 0;
    std::size_t frames = 0;
    while (size - at >= kFrameSize) {
        if (bytes[at] != sync || bytes[at + 1] != sync) {
            ++at;
            continue;
        }
        sink(readSensorWords(bytes + at));
        at += kFrameSize;
        ++frames;
    }
    queue.dropFront(at);
    return frames;
}

// Turns one side's byte stream into sensor words with the scanning rule.
class FrameDecoder {
public:
    explicit FrameDecoder(RailSide side) : side_(side) {}

    void append(const std::uint8_t* bytes, std::size_t count) { queue_.append(bytes, count); }
    void clear() { queue_.clear(); }
    std::size_t pending() const { return queue_.size(); }
    const FrameQueue& queue() const { return queue_; }

    template <typename Sink>
    std::size_t decode(Sink&& sink) {
        return scanFrames(queue_, side_, std::forward<Sink>(sink));
    }

private:
    FrameQueue queue_;
    RailSide side_;
};

}  // namespace sundrel::frames
