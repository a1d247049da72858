#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "kestova/kestova.h"
#include "real_dft.h"

namespace kestova {

// The engine's one global record. Everything from startPosition on is reset
// at the start of every Analyse call; the window, the callback and the
// transform stay.
struct EngineState {
    void (*notifyCallback)(void) = nullptr;
    KestovaHostWindow* hostWindow = nullptr;
    // The transform of the last record's length, kept for the next call: the
    // host analyses the two rails of a pair one after the other, and on a
    // length with large prime factors preparing the transform costs more than
    // the rest of the inversion. Holds up to about 60 MB for a 10 km record.
    std::unique_ptr<RealDft> transform;

    double startPosition = 0;  // metres
    double endPosition = 0;    // metres
    std::uint8_t forward = 0;
    std::uint8_t hasTrailer = 0;
    std::int32_t side = 0;       // 1 left, 2 right
    std::uint64_t fileSize = 0;  // bytes; 64-bit so that files over 4 GiB are measured right
    double slope[4] = {};
    double intercept[4] = {};
    std::vector<double> samples;    // chord samples, then the profile, mm
    std::vector<double> distances;  // metres
    std::size_t sampleCount = 0;

    void resetRun();
};

EngineState& engineState();

}  // namespace kestova
