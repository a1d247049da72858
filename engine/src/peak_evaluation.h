#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine_constants.h"
#include "kestova/kestova.h"

namespace kestova {

inline constexpr double kSectionLengthM = 100.0;
inline constexpr double kRunGapM = 1.0;
inline constexpr double kPositionMatchM = 0.01;
// Guard against km marks that would cut a record into absurdly many
// sections: 100 000 sections are 10 000 km of track.
inline constexpr std::size_t kMaxSections = 100000;

// Share of samples whose magnitude exceeds half the peak-to-peak limit, in
// percent of the whole band (its zero ends included); 0 for an empty band.
double exceedRatio(std::span<const double> band, double limit);

struct RunResult {
    double ratio = 0;          // percent of the section's samples that exceed
    double peakToPeak = 0;     // mm, of the longest exceeding run; 0 if none
    std::size_t runStart = 0;  // index within the section
    std::size_t runEnd = 0;
};

// One band over one section: the exceeding share and the longest run of
// exceeding samples that lie at most 1 m apart, with its peak-to-peak value.
RunResult evaluateRun(std::span<const double> x, std::span<const double> positions, double limit);

// Cuts the record into whole 100 m sections plus one record for the rest and
// evaluates every band in each. An empty record gives no section.
std::vector<SectionRecord> evaluateSections(
    std::span<const double> distances, const std::array<std::span<const double>, kBandCount>& bands,
    std::int32_t side, const std::array<double, kBandCount>& limits);

}  // namespace kestova
