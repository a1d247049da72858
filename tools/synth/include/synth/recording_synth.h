#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "frames/sensor_frame.h"

namespace sundrel::synth {

// One sinusoidal corrugation of a rail's running surface.
struct Corrugation {
    double wavelengthMm = 0;  // > 0
    double amplitudeMm = 0;   // half the peak-to-peak height
};

struct RailSurface {
    std::vector<Corrugation> corrugations;
    double roughnessMm = 0;      // rms of random broadband roughness, 30 mm .. 5 m
    int spikes = 0;              // single-reading electrical spikes
    double spikeHeightMm = 0.5;  // added to one sensor in one frame
};

struct SensorCalibration {
    double slope = 0.0001;  // mm per count
    double intercept = 0;   // mm
};

// A measurement run of both rails, as the acquisition would have recorded it.
struct RecordingPlan {
    double lengthM = 1000;         // travelled distance, > 0
    double metresPerFrame = 0.02;  // > 0
    double startPositionM = 0;     // km-post position of the first frame
    bool forward = true;           // km-post values grow
    bool withTrailer = true;       // false: the run was never stopped properly
    RailSurface left;
    RailSurface right;
    double bounceMm = 0;        // vertical motion of the device, cancels out
    double pitchMradian = 0;    // pitch of the device, cancels out
    std::size_t junkBytes = 0;  // stray bytes before the first frame of each file
    std::string lineName;       // UTF-8
    std::string department;     // UTF-8
    std::string staffName;      // UTF-8
    std::string startTime;      // 14 digits; empty: now
    // Sensors 1# to 4# of the left box, then of the right box.
    std::array<SensorCalibration, 8> calibration = defaultCalibration();
    std::uint64_t seed = 1;

    static std::array<SensorCalibration, 8> defaultCalibration();
};

// Along-track offsets of sensors 1# to 4# from the chord's reference, mm.
inline constexpr std::array<double, 4> kSensorOffsetsMm = {-696.0, -132.0, -28.0, 104.0};

struct RecordingPair {
    std::string leftPath;
    std::string rightPath;
    std::size_t frames = 0;  // per rail
};

// Height of a rail's surface at a distance along the run, mm: the sum of its
// corrugations and roughness. Deterministic for a plan and a side.
class SurfaceModel {
public:
    SurfaceModel(const RailSurface& surface, std::uint64_t seed);
    double heightMm(double metres) const;

private:
    struct Component {
        double wavenumber;  // radians per metre
        double amplitude;   // mm
        double phase;       // radians
    };
    std::vector<Component> components_;
};

// What a sensor with calibration line `calibration` reads when its target is
// `distanceMm` away: round((distance - intercept) / slope), held to 0..65535.
std::uint16_t sensorWord(double distanceMm, const SensorCalibration& calibration);

// The frames one box of a plan sends. Frame i is taken i * metresPerFrame
// metres into the run: each sensor's stand-off plus the surface height at the
// sensor's along-track offset, the device's bounce and pitch, and the plan's
// spikes, which repeat every lengthM metres so that the stream never ends.
// Deterministic for a plan and a side: a recording and a simulated box of the
// same plan send the same frames.
class RailFrameSource {
public:
    // side: Left or Right. Throws std::invalid_argument unless
    // plan.metresPerFrame > 0 and plan.lengthM >= 0.
    RailFrameSource(const RecordingPlan& plan, frames::RailSide side);

    frames::RailSide side() const { return side_; }
    double metresPerFrame() const { return metresPerFrame_; }

    frames::SensorWords words(std::size_t i) const;
    // The words of frame i with the box's sync bytes; bytes 2 and 11 hold i's low byte.
    std::array<std::uint8_t, frames::kFrameSize> frame(std::size_t i) const;

private:
    frames::RailSide side_;
    double metresPerFrame_;
    double bounceMm_;
    double pitchMradian_;
    double spikeHeightMm_;
    std::array<SensorCalibration, 4> calibration_;
    SurfaceModel surface_;
    std::size_t spikePeriod_ = 0;                              // frames; 0: no spikes
    std::vector<std::pair<std::size_t, std::size_t>> spikes_;  // frame, sensor; sorted
};

// Writes the left and right raw data files into `folder` (made when
// missing), named as the acquisition names them. Throws std::runtime_error when a file cannot be
// written.
RecordingPair writeRecordingPair(const RecordingPlan& plan, const std::string& folder);

// The frame stream of one rail (side 1 left, 2 right), without header.
std::vector<std::uint8_t> synthesiseFrames(const RecordingPlan& plan, int side);

}  // namespace sundrel::synth
