#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace kestova {

// The median of every full window of `width` (odd) consecutive values, equal
// to sorting the window and taking its middle element, at O(width) per step
// instead of a sort: the window is kept sorted and each step removes the
// oldest value and inserts the newest. Because the whole window is sorted,
// any other order statistic of it (a quartile, say) comes for free.
//
// NaN orders after every number, so a record with undefined values still has
// one defined median per window.
class RunningMedian {
public:
    explicit RunningMedian(std::size_t width);

    // medians[i] = median of values[i .. i + width - 1], for every full window.
    // Returns no medians when there are fewer values than one window.
    std::vector<double> compute(std::span<const double> values);

    // Calls visit(i, sorted) for every full window i = 0, 1, ..., in order,
    // where sorted holds values[i .. i + width - 1] in ascending order (NaN
    // last). The span is valid only during the call; values must not change
    // while the windows are visited.
    template <typename Visit>
    void forEachWindow(std::span<const double> values, Visit&& visit);

private:
    void start(std::span<const double> first);
    void insert(double value);
    void remove(double value);

    std::size_t width_;
    std::vector<double> window_;  // sorted
};

template <typename Visit>
void RunningMedian::forEachWindow(std::span<const double> values, Visit&& visit) {
    if (width_ == 0 || values.size() < width_) {
        return;
    }
    start(values.first(width_));
    visit(std::size_t{0}, std::span<const double>(window_));
    for (std::size_t i = width_; i < values.size(); ++i) {
        remove(values[i - width_]);
        insert(values[i]);
        visit(i - width_ + 1, std::span<const double>(window_));
    }
}

}  // namespace kestova
