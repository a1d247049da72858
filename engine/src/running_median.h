#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kestova {

// The median of every full window of `width` (odd) consecutive values, equal
// to sorting the window and taking its middle element, at O(width) per step
// instead of a sort: the window is kept sorted and each step removes the
// oldest value and inserts the newest.
//
// NaN orders after every number, so a record with undefined values still has
// one defined median per window.
class RunningMedian {
public:
    explicit RunningMedian(std::size_t width);

    // medians[i] = median of values[i .. i + width - 1], for every full window.
    // Returns no medians when there are fewer values than one window.
    std::vector<double> compute(std::span<const double> values);

private:
    void insert(double value);
    void remove(double value);

    std::size_t width_;
    std::vector<double> window_;  // sorted
};

}  // namespace kestova
