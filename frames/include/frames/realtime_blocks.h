#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "frames/frame_decoder.h"
#include "frames/sensor_frame.h"

namespace sundrel::frames {

// Displacement of one eddy-current sensor: word × slope + intercept, in mm.
struct SensorCalibration {
    double slope = 0.0;      // mm per count
    double intercept = 0.0;  // mm
};

// What the real-time display reads from the settings when a measurement
// starts; changes made later take effect at the next start.
struct RealtimeSettings {
    double dEncoder = 0.0;  // metres per frame, > 0
    // Frames a chart keeps on display. Compared as an unsigned 32-bit value,
    // so a negative count never scrolls and 0 scrolls every frame away.
    std::int32_t nSerialReserveData = 0;
    std::array<SensorCalibration, kSensorCount> left{};   // sensors 1# to 4# of the left box
    std::array<SensorCalibration, kSensorCount> right{};  // sensors 1# to 4# of the right box
};

// Frames converted in one pass. A batch of more frames is handed on in
// several passes, so the arrays never overflow whatever the batch size.
inline constexpr std::size_t kBlockCapacity = 510;

// The frames of one pass over a batch of one side, in stream order, and where
// that side's display window stands after them.
struct RealtimeBlock {
    RailSide side = RailSide::None;
    std::size_t count = 0;  // entries filled, 1..kBlockCapacity when handed on
    std::array<std::array<double, kBlockCapacity>, kSensorCount> sensors{};  // mm, 1# to 4#
    std::array<double, kBlockCapacity> distance{};  // m: frame index × dEncoder
    // Frames of the side accepted since the start, including this pass: the
    // next frame's index.
    std::uint32_t frames = 0;
    // True when the side has now accepted more frames than the display window
    // holds: the pass's points push as many of the oldest out of each curve.
    bool scrolls = false;
    // Points of each curve of the side pushed out since the start, including
    // this pass; the window then spans removed × dEncoder .. frames × dEncoder.
    std::uint32_t removed = 0;
};

// The numeric half of the real-time detection view: one decoder, one frame
// counter and one display window per side, turning batches of raw bytes
// into blocks of displacements against running distance. The first frame of
// each side after a start lies at distance 0. Used on one thread.
class RealtimeBlocks {
public:
    using Sink = std::function<void(const RealtimeBlock&)>;

    // A measurement starts: counters, windows and both queues are emptied and
    // `settings` holds until the next start.
    void start(const RealtimeSettings& settings);

    // Decodes a batch of `side` (Left or Right; any other side drops the
    // batch) and hands each pass of at most kBlockCapacity frames to `sink`,
    // which reads the block only during the call. A partial frame waits for
    // the side's next batch. Returns the frames accepted.
    std::size_t addBatch(RailSide side, const std::uint8_t* bytes, std::size_t count,
                         const Sink& sink);

    const RealtimeSettings& settings() const { return settings_; }
    // Frames of `side` accepted since the start (0 for any other side).
    std::uint32_t frames(RailSide side) const;
    // Bytes of `side` waiting for the rest of their frame.
    std::size_t pending(RailSide side) const;

private:
    struct Side {
        explicit Side(RailSide side) : decoder(side) {}
        FrameDecoder decoder;
        std::uint32_t frames = 0;
        std::uint32_t removed = 0;
    };
    Side* sideOf(RailSide side);
    const Side* sideOf(RailSide side) const;

    RealtimeSettings settings_;
    Side left_{RailSide::Left};
    Side right_{RailSide::Right};
    RealtimeBlock block_;
};

}  // namespace sundrel::frames
