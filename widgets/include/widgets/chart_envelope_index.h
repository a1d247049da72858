#pragma once

#include <cstddef>
#include <deque>
#include <span>
#include <vector>

#include "widgets/chart_xy_point.h"

namespace sundrel::widgets {

// The lowest and highest Y of a run of points.
struct ChartYRange {
    double low;
    double high;
};

// A min/max pyramid over the Y values of a series, so that the lowest and
// highest value of any run of points costs O(log n) whatever the run's
// length: a dense curve is then drawn per pixel column at a cost set by the
// plot's width, not by the number of points.
//
// Level 0 is the points themselves; an entry of level j ≥ 1 holds the range
// of kFanout entries of level j − 1, that is of kFanout^j points aligned to
// their absolute index (the index a point had counted from the last clear,
// so removing points from the front moves nothing). Levels hold complete
// blocks only, and only blocks none of whose points have been removed.
//
// It also knows whether the X values are monotonic and the values all
// finite: only then is a run of points a run of screen columns without breaks.
class ChartEnvelopeIndex {
public:
    static constexpr std::size_t kFanout = 8;

    // After `count` points were appended at the back of `points`.
    void append(std::span<const SChartXYPoint> points, std::size_t count);
    // After `count` points were removed from the front, `nonFinite` of them
    // with a non-finite X or Y.
    void removeFront(std::size_t count, std::size_t nonFinite);
    void clear();

    // After any other change of the points: the index is rebuilt from all
    // points on the next use.
    void invalidate() { valid_ = false; }
    bool isValid() const { return valid_; }
    void rebuild(std::span<const SChartXYPoint> points);

    std::size_t size() const { return end_ - removed_; }
    // X never decreases, or never increases, from point to point.
    bool isMonotonic() const { return increasing_ || decreasing_; }
    bool allFinite() const { return nonFinite_ == 0; }

    // The Y range of points [first, end) (indices into `points`, the same
    // points the index describes); first < end ≤ size().
    ChartYRange range(std::span<const SChartXYPoint> points, std::size_t first,
                      std::size_t end) const;

    // Entries above level 0, for memory checks.
    std::size_t summaryCount() const;

private:
    struct Level {
        std::size_t blockSize;   // points per entry
        std::size_t firstBlock;  // absolute block index of entries.front()
        std::deque<ChartYRange> entries;
    };

    void noteAppended(const SChartXYPoint& previous, const SChartXYPoint& point);
    void extendLevels(std::span<const SChartXYPoint> points);
    ChartYRange summarise(std::span<const SChartXYPoint> points, std::size_t level,
                          std::size_t block) const;

    std::vector<Level> levels_;  // levels 1, 2, ...
    std::size_t removed_ = 0;    // absolute index of points[0]
    std::size_t end_ = 0;        // absolute index past the last point
    std::size_t nonFinite_ = 0;
    bool increasing_ = true;
    bool decreasing_ = true;
    bool valid_ = true;
};

}  // namespace sundrel::widgets
