#pragma once

#include <cstddef>
#include <vector>

namespace sundrel::analysis {

// Every step-th sample of a record, step = n / 1000 + 1: at most 1000 points
// for any record, always starting with the first sample.
struct ThinnedWaveform {
    std::vector<double> x;  // distances, m
    std::vector<double> y;  // values, mm
};
ThinnedWaveform thinWaveform(const double* values, const double* distances, std::size_t n);

}  // namespace sundrel::analysis
