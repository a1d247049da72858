#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sundrel::frames {

// First-in first-out byte queue: bytes arrive at the back, whole frames and
// skipped bytes leave from the front. The held bytes stay contiguous so the
// scanner can read a frame in place.
class FrameQueue {
public:
    void append(const std::uint8_t* bytes, std::size_t count);
    void dropFront(std::size_t count);
    void clear();

    std::size_t size() const { return buffer_.size() - head_; }
    const std::uint8_t* data() const { return buffer_.data() + head_; }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t head_ = 0;  // index of the front byte in buffer_
};

}  // namespace sundrel::frames
