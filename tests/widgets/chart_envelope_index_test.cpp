#include "widgets/chart_envelope_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <random>
#include <vector>

#include "widgets/chart_curve_geometry.h"

namespace sundrel::widgets {
namespace {

// The points as the series keeps them: appended at the back, removed from
// the front, always one contiguous array.
class Points {
public:
    void append(std::size_t count, std::mt19937& random) {
        std::normal_distribution<double> value(0.0, 1.0);
        for (std::size_t i = 0; i < count; ++i) {
            points_.push_back({static_cast<double>(next_++), value(random)});
        }
        index_.append(span(), count);
    }
    void removeFront(std::size_t count) {
        count = std::min(count, points_.size());
        points_.erase(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(count));
        index_.removeFront(count, 0);
    }
    std::span<const SChartXYPoint> span() const { return points_; }
    const ChartEnvelopeIndex& index() const { return index_; }

private:
    std::vector<SChartXYPoint> points_;
    ChartEnvelopeIndex index_;
    std::size_t next_ = 0;
};

ChartYRange bruteRange(std::span<const SChartXYPoint> points, std::size_t first, std::size_t end) {
    ChartYRange r{points[first].Y, points[first].Y};
    for (std::size_t i = first; i < end; ++i) {
        r.low = std::min(r.low, points[i].Y);
        r.high = std::max(r.high, points[i].Y);
    }
    return r;
}

// Every run of a few sizes at many places, compared with a plain scan.
void expectExactRanges(const Points& points, std::mt19937& random) {
    const std::size_t n = points.span().size();
    ASSERT_EQ(points.index().size(), n);
    if (n == 0) {
        return;
    }
    std::uniform_int_distribution<std::size_t> at(0, n - 1);
    for (int trial = 0; trial < 200; ++trial) {
        std::size_t a = at(random);
        std::size_t b = at(random);
        if (a > b) {
            std::swap(a, b);
        }
        const ChartYRange got = points.index().range(points.span(), a, b + 1);
        const ChartYRange want = bruteRange(points.span(), a, b + 1);
        ASSERT_EQ(got.low, want.low) << a << ".." << b << " of " << n;
        ASSERT_EQ(got.high, want.high) << a << ".." << b << " of " << n;
    }
}

TEST(ChartEnvelopeIndex, RangesMatchAScanWhilePointsComeAndGo) {
    // A growing record, then a scrolling window like the real-time view's:
    // batches appended at the back and as many removed from the front.
    struct Case {
        std::size_t batch;
        std::size_t window;  // 0: never removes
    };
    const Case cases[] = {{1, 0}, {7, 0}, {100, 1000}, {300, 1000}, {511, 20000}, {4096, 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "batch " << c.batch << " window " << c.window);
        std::mt19937 random(static_cast<unsigned>(c.batch));
        Points points;
        for (int step = 0; step < 40; ++step) {
            points.append(c.batch, random);
            if (c.window > 0 && points.span().size() > c.window) {
                points.removeFront(points.span().size() - c.window);
            }
            expectExactRanges(points, random);
        }
    }
}

TEST(ChartEnvelopeIndex, SummariesCostAFractionOfThePoints) {
    std::mt19937 random(1);
    Points points;
    points.append(1 << 18, random);
    // Level sizes n/8 + n/64 + ... < n/7.
    EXPECT_LT(points.index().summaryCount(), (std::size_t{1} << 18) / 7 + 8);
    // A scrolling window keeps only the summaries of its own points.
    for (int i = 0; i < 50; ++i) {
        points.append(1000, random);
        points.removeFront(1000);
    }
    points.removeFront(points.span().size() - 20000);
    EXPECT_LT(points.index().summaryCount(), 20000 / 7 + 64);
}

TEST(ChartEnvelopeIndex, KnowsWhenXIsMonotonicAndValuesFinite) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::vector<SChartXYPoint> points;
        bool monotonic;
        bool finite;
    };
    const Case cases[] = {
        {{{0, 1}, {1, 2}, {1, 3}, {2, 0}}, true, true},
        {{{5, 1}, {4, 2}, {-3, 3}}, true, true},  // falling distances
        {{{0, 1}, {2, 2}, {1, 3}}, false, true},
        {{{0, 1}, {1, nan}, {2, 3}}, true, false},
        {{{0, 1}, {nan, 1}, {2, 3}}, false, false},
    };
    for (const Case& c : cases) {
        ChartEnvelopeIndex index;
        index.rebuild(c.points);
        EXPECT_EQ(index.isMonotonic(), c.monotonic);
        EXPECT_EQ(index.allFinite(), c.finite);
    }
}

// A sine of `period` samples and amplitude 1 over n samples at x = i * dx.
std::vector<SChartXYPoint> sine(std::size_t n, double dx, double period) {
    std::vector<SChartXYPoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        points[i] = {static_cast<double>(i) * dx,
                     std::sin(2.0 * M_PI * static_cast<double>(i) / period)};
    }
    return points;
}

TEST(ColumnEnvelope, EveryColumnSpansItsPointsAndFewPointsAreDrawnThemselves) {
    // 200 000 samples on 1000 columns: 200 per column, each column holds
    // whole periods, so each must span -1..1 (mapY is the identity), drawn
    // as one vertical stroke.
    const auto points = sine(200000, 1.0, 14.0);
    ChartEnvelopeIndex index;
    index.rebuild(points);
    const ChartLinearMap mapX{0.0, 0.0, 1000.0 / 200000.0};
    const ChartLinearMap mapY{0.0, 0.0, 1.0};
    const ChartIndexRun run = visibleRun(points, mapX, 0.0, 1000.0);
    std::vector<QPointF> out;
    appendColumnEnvelope(points, index, run, mapX, mapY, {}, out);
    ASSERT_EQ(out.size(), 2u * 1000u);
    for (std::size_t c = 0; c < 1000; ++c) {
        double low = 2.0;
        double high = -2.0;
        for (std::size_t k = 0; k < 2; ++k) {
            const QPointF& p = out[2 * c + k];
            ASSERT_EQ(std::floor(p.x()), static_cast<double>(c));
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
        ASSERT_LT(low, -0.97) << "column " << c;
        ASSERT_GT(high, 0.97) << "column " << c;
    }

    // Zoomed to 50 columns of 2 samples each (and on a falling axis): every
    // sample is a vertex, in order.
    for (const double slope : {0.5, -0.5}) {
        const ChartLinearMap zoom{slope > 0 ? 0.0 : 100.0, 1000.0, slope};
        const ChartIndexRun near = visibleRun(points, zoom, 0.0, 100.0);
        EXPECT_EQ(near.first, 999u);
        EXPECT_EQ(near.end, 1202u);
        out.clear();
        appendColumnEnvelope(points, index, near, zoom, mapY, {}, out);
        ASSERT_EQ(out.size(), near.end - near.first);
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_DOUBLE_EQ(out[i].y(), points[near.first + i].Y);
        }
    }
}

TEST(ColumnEnvelope, VisibleRunHoldsOneNeighbourOutsideEachSide) {
    const auto points = sine(100, 1.0, 10.0);  // x = 0..99
    const ChartLinearMap identity{0.0, 0.0, 1.0};
    struct Case {
        double left, right;
        std::size_t first, end;
    };
    const Case cases[] = {
        {10.5, 20.5, 10, 22}, {-50, 500, 0, 100}, {200, 300, 99, 100}, {-30, -20, 0, 1}};
    for (const Case& c : cases) {
        const ChartIndexRun run = visibleRun(points, identity, c.left, c.right);
        EXPECT_EQ(run.first, c.first) << c.left;
        EXPECT_EQ(run.end, c.end) << c.left;
    }
}

}  // namespace
}  // namespace sundrel::widgets
