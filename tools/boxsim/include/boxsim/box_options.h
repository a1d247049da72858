#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frames/sensor_frame.h"
#include "synth/recording_synth.h"

namespace sundrel::boxsim {

// 115200 baud, 10 bits a byte on the line (8N1), 12 bytes a frame.
inline constexpr double kLineRateFramesPerS = 115200.0 / 10.0 / frames::kFrameSize;

// Distance the trolley travels between two frames, metres:
// pi * wheel diameter / (pulses per turn / pulses per frame).
// wheelDiameterMm > 0, pulsesPerTurn > 0, pulsesPerFrame > 0.
double metresPerFrame(double wheelDiameterMm, int pulsesPerTurn, int pulsesPerFrame);

// Faults a box shows on demand. Times are seconds since the start command of
// the current run; every fault but the hang-up happens once in each run.
struct BoxFaults {
    std::size_t strayEvery = 0;          // stray bytes after every that many frames; 0: none
    std::optional<double> otherSideAtS;  // from then, frames with the other rail's sync byte
    std::size_t otherSideFrames = 0;     // how many of them
    std::optional<double> silenceAtS;    // from then the box sends nothing ...
    double silenceS = 0;                 // ... for this long, >= 0, then carries on
    std::optional<double> burstAtS;      // then the next frames come at once, ...
    std::size_t burstFrames = 0;         // ... this many, faster than the line rate
    std::optional<double> hangUpAfterS;  // into the first run the box is unplugged, >= 0
};

// The stray bytes a box sends between frames: a lone sync byte among bytes
// that cannot start a frame.
std::vector<std::uint8_t> strayBytes(frames::RailSide side);

struct BoxOptions {
    frames::RailSide side = frames::RailSide::Left;  // Left or Right
    // The track under the box: rail surfaces, bounce, pitch, seed, and the true
    // calibration lines of its sensors (plan's 1#-4# for the left box, 5#-8#
    // for the right one). lengthM is the period after which the spikes
    // repeat; metresPerFrame comes from the start command.
    synth::RecordingPlan track;
    double speedKmh = 5;            // trolley speed, > 0
    double wheelDiameterMm = 150;   // > 0
    int pulsesPerTurn = 2000;       // encoder pulses per wheel turn, > 0
    std::optional<double> rateFps;  // forced frames per second, 0 < rate <= kLineRateFramesPerS
    // Distance from each sensor 1#-4# to the target held in front of it, mm.
    std::array<double, frames::kSensorCount> targetsMm = {3.0, 3.0, 3.0, 3.0};
    // Each calibration request first moves all four targets to the next of
    // these distances, mm; after the last one the script starts over when
    // cycleTargets is set and holds the last distance otherwise.
    std::vector<double> targetScriptMm;
    bool cycleTargets = false;
    BoxFaults faults;
    std::string teePath;  // when set, a copy of every byte sent goes to this file
};

// Frames per second a box sends after a start command with `pulsesPerFrame`:
// the forced rate, or the trolley's speed over metresPerFrame, no more than
// the line rate.
double framesPerSecond(const BoxOptions& options, int pulsesPerFrame);

}  // namespace sundrel::boxsim
