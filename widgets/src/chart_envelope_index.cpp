#include "widgets/chart_envelope_index.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace sundrel::widgets {
namespace {

constexpr std::size_t kFanout = ChartEnvelopeIndex::kFanout;

std::size_t ceilDiv(std::size_t a, std::size_t b) {
    return (a + b - 1) / b;
}

ChartYRange emptyRange() {
    const double inf = std::numeric_limits<double>::infinity();
    return {inf, -inf};
}

// NaN compares false both ways, so it never widens a range.
void widen(ChartYRange& range, double low, double high) {
    if (low < range.low) {
        range.low = low;
    }
    if (high > range.high) {
        range.high = high;
    }
}

}  // namespace

void ChartEnvelopeIndex::clear() {
    levels_.clear();
    removed_ = 0;
    end_ = 0;
    nonFinite_ = 0;
    increasing_ = true;
    decreasing_ = true;
    valid_ = true;
}

void ChartEnvelopeIndex::rebuild(std::span<const SChartXYPoint> points) {
    clear();
    append(points, points.size());
}

void ChartEnvelopeIndex::noteAppended(const SChartXYPoint& previous, const SChartXYPoint& point) {
    if (!(point.X >= previous.X)) {
        increasing_ = false;
    }
    if (!(point.X <= previous.X)) {
        decreasing_ = false;
    }
}

void ChartEnvelopeIndex::append(std::span<const SChartXYPoint> points, std::size_t count) {
    if (!valid_) {
        return;  // rebuilt from all points on the next use
    }
    assert(count <= points.size() && points.size() == size() + count);
    for (std::size_t i = points.size() - count; i < points.size(); ++i) {
        const SChartXYPoint& p = points[i];
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            ++nonFinite_;
        }
        if (i > 0) {
            noteAppended(points[i - 1], p);
        }
    }
    end_ += count;
    extendLevels(points);
}

ChartYRange ChartEnvelopeIndex::summarise(std::span<const SChartXYPoint> points, std::size_t level,
                                          std::size_t block) const {
    ChartYRange range = emptyRange();
    const std::size_t first = block * kFanout;
    if (level == 0) {
        for (std::size_t i = first; i < first + kFanout; ++i) {
            const double y = points[i - removed_].Y;
            widen(range, y, y);
        }
    } else {
        const Level& below = levels_[level - 1];
        for (std::size_t i = first; i < first + kFanout; ++i) {
            const ChartYRange& e = below.entries[i - below.firstBlock];
            widen(range, e.low, e.high);
        }
    }
    return range;
}

void ChartEnvelopeIndex::extendLevels(std::span<const SChartXYPoint> points) {
    for (std::size_t level = 0;; ++level) {
        if (level == levels_.size()) {
            // A new level once the one below holds a full block of its own.
            const std::size_t below = level == 0 ? size() : levels_.back().entries.size();
            if (below < kFanout) {
                return;
            }
            const std::size_t blockSize = level == 0 ? kFanout : levels_.back().blockSize * kFanout;
            levels_.push_back({blockSize, ceilDiv(removed_, blockSize), {}});
        }
        Level& lv = levels_[level];
        for (std::size_t next = lv.firstBlock + lv.entries.size();
             (next + 1) * lv.blockSize <= end_; ++next) {
            lv.entries.push_back(summarise(points, level, next));
        }
    }
}

void ChartEnvelopeIndex::removeFront(std::size_t count, std::size_t nonFinite) {
    if (!valid_) {
        return;
    }
    if (count >= size()) {
        clear();
        return;
    }
    removed_ += count;
    nonFinite_ -= std::min(nonFinite, nonFinite_);
    for (Level& lv : levels_) {
        while (!lv.entries.empty() && lv.firstBlock * lv.blockSize < removed_) {
            lv.entries.pop_front();
            ++lv.firstBlock;
        }
        if (lv.entries.empty()) {
            lv.firstBlock = std::max(lv.firstBlock, ceilDiv(removed_, lv.blockSize));
        }
    }
}

ChartYRange ChartEnvelopeIndex::range(std::span<const SChartXYPoint> points, std::size_t first,
                                      std::size_t end) const {
    assert(valid_ && first < end && end <= size() && points.size() == size());
    ChartYRange range = emptyRange();
    const auto take = [&](std::size_t level, std::size_t from, std::size_t to) {
        if (level == 0) {
            for (std::size_t i = from; i < to; ++i) {
                const double y = points[i - removed_].Y;
                widen(range, y, y);
            }
            return;
        }
        const Level& lv = levels_[level - 1];
        for (std::size_t i = from; i < to; ++i) {
            const ChartYRange& e = lv.entries[i - lv.firstBlock];
            widen(range, e.low, e.high);
        }
    };
    // In units of the current level: the partial blocks at both ends are
    // taken here, the whole blocks between them one level up.
    std::size_t lo = removed_ + first;
    std::size_t hi = removed_ + end;
    for (std::size_t level = 0;; ++level) {
        const std::size_t up = ceilDiv(lo, kFanout) * kFanout;
        const std::size_t down = hi / kFanout * kFanout;
        if (level == levels_.size() || up >= down) {
            take(level, lo, hi);
            return range;
        }
        take(level, lo, up);
        take(level, down, hi);
        lo = up / kFanout;
        hi = down / kFanout;
    }
}

std::size_t ChartEnvelopeIndex::summaryCount() const {
    std::size_t count = 0;
    for (const Level& lv : levels_) {
        count += lv.entries.size();
    }
    return count;
}

}  // namespace sundrel::widgets
