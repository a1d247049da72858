#include "frames/frame_queue.h"

namespace sundrel::frames {

void FrameQueue::append(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) {
        return;
    }
    // Reclaim the consumed front before growing, so a long-running stream
    // keeps a buffer about the size of one batch.
    if (head_ > 0 && head_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes, bytes + count);
}

void FrameQueue::dropFront(std::size_t count) {
    head_ += count < size() ? count : size();
    if (head_ == buffer_.size()) {
        clear();
    }
}

void FrameQueue::clear() {
    buffer_.clear();
    head_ = 0;
}

}  // namespace sundrel::frames
