#include "frames/realtime_blocks.h"

#include <algorithm>

namespace sundrel::frames {
namespace {

// Bytes appended before each decode. With fewer than one frame left over
// from the previous pass, a chunk this long cannot complete more than
// kBlockCapacity frames.
constexpr std::size_t kChunkBytes = kBlockCapacity * kFrameSize;
static_assert((kChunkBytes + kFrameSize - 1) / kFrameSize == kBlockCapacity);

}  // namespace

void RealtimeBlocks::start(const RealtimeSettings& settings) {
    settings_ = settings;
    for (Side* side : {&left_, &right_}) {
        side->decoder.clear();
        side->frames = 0;
        side->removed = 0;
    }
    block_.side = RailSide::None;
    block_.count = 0;
}

std::size_t RealtimeBlocks::addBatch(RailSide side, const std::uint8_t* bytes, std::size_t count,
                                     const Sink& sink) {
    block_.side = RailSide::None;
    block_.count = 0;
    Side* state = sideOf(side);
    if (state == nullptr) {
        return 0;
    }
    block_.side = side;
    const auto& calibration = side == RailSide::Left ? settings_.left : settings_.right;
    const double dEncoder = settings_.dEncoder;
    const auto window = static_cast<std::uint32_t>(settings_.nSerialReserveData);
    std::size_t accepted = 0;
    for (std::size_t at = 0; at < count;) {
        const std::size_t chunk = std::min(kChunkBytes, count - at);
        state->decoder.append(bytes + at, chunk);
        at += chunk;
        block_.count = 0;
        state->decoder.decode([&](const SensorWords& words) {
            const std::size_t i = block_.count;
            if (i == kBlockCapacity) {
                return;  // unreachable by the chunk size; never write past the arrays
            }
            for (std::size_t k = 0; k < kSensorCount; ++k) {
                block_.sensors[k][i] = words[k] * calibration[k].slope + calibration[k].intercept;
            }
            block_.distance[i] = static_cast<double>(state->frames) * dEncoder;
            ++block_.count;
            ++state->frames;
        });
        if (block_.count == 0) {
            continue;
        }
        accepted += block_.count;
        block_.frames = state->frames;
        block_.scrolls = state->frames > window;
        if (block_.scrolls) {
            state->removed += static_cast<std::uint32_t>(block_.count);
        }
        block_.removed = state->removed;
        sink(block_);
    }
    return accepted;
}

std::uint32_t RealtimeBlocks::frames(RailSide side) const {
    const Side* state = sideOf(side);
    return state == nullptr ? 0 : state->frames;
}

std::size_t RealtimeBlocks::pending(RailSide side) const {
    const Side* state = sideOf(side);
    return state == nullptr ? 0 : state->decoder.pending();
}

RealtimeBlocks::Side* RealtimeBlocks::sideOf(RailSide side) {
    return side == RailSide::Left ? &left_ : side == RailSide::Right ? &right_ : nullptr;
}

const RealtimeBlocks::Side* RealtimeBlocks::sideOf(RailSide side) const {
    return side == RailSide::Left ? &left_ : side == RailSide::Right ? &right_ : nullptr;
}

}  // namespace sundrel::frames
