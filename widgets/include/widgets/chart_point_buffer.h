#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "widgets/chart_xy_point.h"

namespace sundrel::widgets {

// The points of one series in one contiguous array.
//
// Removing points from the front only advances the start of the live points;
// the live points are moved down to the beginning of the storage (once) when
// the dead prefix has grown larger than the live points, or when the storage
// would otherwise have to grow. A series that appends k points and removes k
// from its front per batch therefore costs O(k) per batch, amortised, however
// long it is: each compaction moves fewer points than were removed since the
// previous one.
class ChartPointBuffer {
public:
    std::size_t size() const { return storage_.size() - start_; }
    bool empty() const { return size() == 0; }

    const SChartXYPoint* data() const { return storage_.data() + start_; }
    std::span<const SChartXYPoint> points() const { return {data(), size()}; }
    std::span<SChartXYPoint> points() { return {storage_.data() + start_, size()}; }
    const SChartXYPoint& operator[](std::size_t index) const { return storage_[start_ + index]; }

    void append(const SChartXYPoint& point);
    // count pairs (x[i], y[i]); x and y hold at least count values.
    void append(const double* x, const double* y, std::size_t count);
    // index <= size()
    void insert(std::size_t index, const SChartXYPoint& point);

    // Removes min(count, size()) points from the front.
    void removeFront(std::size_t count);
    void removeBack();
    void clear();

    // Points moved by compactions so far: the cost of the front removals.
    std::size_t movedPoints() const { return moved_; }

private:
    void compact();
    void reserveForAppend(std::size_t count);

    std::vector<SChartXYPoint> storage_;
    std::size_t start_ = 0;  // index of the first live point in storage_
    std::size_t moved_ = 0;
};

}  // namespace sundrel::widgets
