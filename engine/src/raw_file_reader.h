#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kestova/kestova.h"

namespace kestova {

// What the engine takes from a raw data file's header, trailer and first frames.
struct RawFileFacts {
    double startPosition = 0;  // metres, the header's position
    double endPosition = 0;    // metres, the trailer's position or estimated
    std::uint8_t forward = 0;  // nonzero: positions grow along the file
    bool hasTrailer = false;
    std::int32_t side = 1;       // RailSide detected from the frames: 1 left, 2 right
    std::uint64_t fileSize = 0;  // bytes
    double slope[4] = {};        // calibration of sensors 1# to 4# of `side`
    double intercept[4] = {};
    AnalysisInfoBlock info{};  // the code 13 payload
};

// Opens and checks a raw data file and reads its facts. Returns KESTOVA_OK, or
// KESTOVA_CANNOT_OPEN (missing, unreadable, not a regular file),
// KESTOVA_TOO_SHORT (under 17100 bytes) or KESTOVA_BAD_MAGIC, in that order.
int checkRawFile(const std::string& path, RawFileFacts& facts);

// Decodes the file's frame stream (after the header, before a trailer) into
// one chord sample per frame of `facts.side`, in millimetres. The result never
// holds more than frame bytes / 12 samples.
std::vector<double> loadSamples(const std::string& path, const RawFileFacts& facts);

// Spreads n positions evenly from the start: start + i * (end - start) / n.
std::vector<double> buildDistanceAxis(double startPosition, double endPosition, std::size_t n);

}  // namespace kestova
