#include "widgets/chart_point_buffer.h"

#include <algorithm>
#include <iterator>

namespace sundrel::widgets {

void ChartPointBuffer::reserveForAppend(std::size_t count) {
    if (storage_.size() + count <= storage_.capacity()) {
        return;
    }
    // The storage has to grow anyway: take only the live points along, with
    // room for as many again.
    std::vector<SChartXYPoint> grown;
    grown.reserve(2 * (size() + count));
    grown.insert(grown.end(), storage_.begin() + static_cast<std::ptrdiff_t>(start_),
                 storage_.end());
    storage_.swap(grown);
    start_ = 0;
}

void ChartPointBuffer::append(const SChartXYPoint& point) {
    reserveForAppend(1);
    storage_.push_back(point);
}

void ChartPointBuffer::append(const double* x, const double* y, std::size_t count) {
    reserveForAppend(count);
    for (std::size_t i = 0; i < count; ++i) {
        storage_.push_back({x[i], y[i]});
    }
}

void ChartPointBuffer::insert(std::size_t index, const SChartXYPoint& point) {
    reserveForAppend(1);
    storage_.insert(storage_.begin() + static_cast<std::ptrdiff_t>(start_ + index), point);
}

void ChartPointBuffer::removeFront(std::size_t count) {
    start_ += std::min(count, size());
    if (start_ == storage_.size()) {
        clear();
    } else if (start_ > size()) {
        compact();
    }
}

void ChartPointBuffer::removeBack() {
    if (empty()) {
        return;
    }
    storage_.pop_back();
    if (empty()) {
        clear();
    }
}

void ChartPointBuffer::clear() {
    storage_.clear();
    start_ = 0;
}

void ChartPointBuffer::compact() {
    const auto live = storage_.begin() + static_cast<std::ptrdiff_t>(start_);
    moved_ += size();
    const auto end = std::move(live, storage_.end(), storage_.begin());
    storage_.erase(end, storage_.end());
    start_ = 0;
}

}  // namespace sundrel::widgets
