#include "running_median.h"

#include <algorithm>
#include <cmath>

namespace kestova {
namespace {

// Strict weak order with NaN last, so sorting and searching stay defined.
bool orderedBefore(double a, double b) {
    if (std::isnan(a)) {
        return false;
    }
    return std::isnan(b) || a < b;
}

}  // namespace

RunningMedian::RunningMedian(std::size_t width) : width_(width) {
    window_.reserve(width);
}

std::vector<double> RunningMedian::compute(std::span<const double> values) {
    std::vector<double> medians;
    if (width_ == 0 || values.size() < width_) {
        return medians;
    }
    medians.reserve(values.size() - width_ + 1);
    const std::size_t middle = width_ / 2;
    forEachWindow(values, [&](std::size_t, std::span<const double> sorted) {
        medians.push_back(sorted[middle]);
    });
    return medians;
}

void RunningMedian::start(std::span<const double> first) {
    window_.assign(first.begin(), first.end());
    std::sort(window_.begin(), window_.end(), orderedBefore);
}

void RunningMedian::insert(double value) {
    window_.insert(std::upper_bound(window_.begin(), window_.end(), value, orderedBefore), value);
}

void RunningMedian::remove(double value) {
    // Any element equivalent to the value will do: equivalent elements are
    // equal numbers (or both NaN), so the window's contents stay the same.
    window_.erase(std::lower_bound(window_.begin(), window_.end(), value, orderedBefore));
}

}  // namespace kestova
