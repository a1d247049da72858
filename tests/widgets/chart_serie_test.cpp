#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {
namespace {

std::vector<double> xsOf(const CChartXYSerie& serie) {
    std::vector<double> xs;
    for (const SChartXYPoint& p : serie.points()) {
        xs.push_back(p.X);
    }
    return xs;
}

class SerieTest : public ::testing::Test {
protected:
    CChartCtrl chart;
    CChartLineSerie* curve = chart.createLineSerie();
};

TEST_F(SerieTest, RemovingFromTheFrontKeepsTheRestInOrder) {
    for (const ChartPointOrdering ordering : {ChartPointOrdering::None, ChartPointOrdering::ByX}) {
        curve->removeAllPoints();
        curve->setPointOrdering(ordering);
        std::vector<double> x(1000);
        std::iota(x.begin(), x.end(), 0.0);
        std::vector<double> y(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) {
            y[i] = 2.0 * x[i];
        }
        curve->addPoints(x.data(), y.data(), x.size());
        curve->removeFirstPoints(100);
        ASSERT_EQ(curve->pointCount(), 900u);
        for (std::size_t i = 0; i < 900; ++i) {
            ASSERT_EQ(curve->point(i).X, static_cast<double>(100 + i));
            ASSERT_EQ(curve->point(i).Y, 2.0 * static_cast<double>(100 + i));
        }
        curve->removeFirstPoints(5000);  // more than there are
        EXPECT_EQ(curve->pointCount(), 0u);
    }
}

TEST_F(SerieTest, BulkAddAppendsEveryPairInOneCallAfterThePointsThere) {
    curve->setPointOrdering(ChartPointOrdering::None);
    curve->addPoint(100.0, -1.0);
    const double x[] = {3.0, 1.0, 2.0};
    const double y[] = {30.0, 10.0, 20.0};
    const std::uint64_t before = chart.redrawCount();
    curve->addPoints(x, y, 3);
    EXPECT_EQ(chart.redrawCount(), before + 1);                            // one call, one redraw
    EXPECT_EQ(xsOf(*curve), (std::vector<double>{100.0, 3.0, 1.0, 2.0}));  // insertion order
    EXPECT_EQ(curve->point(2).Y, 10.0);

    curve->addPoints(nullptr, y, 3);
    curve->addPoints(x, y, 0);
    EXPECT_EQ(curve->pointCount(), 4u);
    EXPECT_TRUE(std::isnan(curve->point(4).X));  // beyond the points
}

TEST_F(SerieTest, SortedByXByDefaultWithEqualKeysInArrivalOrder) {
    EXPECT_EQ(curve->pointOrdering(), ChartPointOrdering::ByX);
    curve->addPoint(5.0, 0.0);
    curve->addPoint(1.0, 1.0);
    curve->addPoint(5.0, 2.0);
    curve->addPoint(3.0, 3.0);
    EXPECT_EQ(xsOf(*curve), (std::vector<double>{1.0, 3.0, 5.0, 5.0}));
    EXPECT_EQ(curve->point(2).Y, 0.0);
    EXPECT_EQ(curve->point(3).Y, 2.0);

    const double x[] = {4.0, 0.0, 6.0};
    const double y[] = {0.0, 0.0, 0.0};
    curve->addPoints(x, y, 3);
    EXPECT_EQ(xsOf(*curve), (std::vector<double>{0.0, 1.0, 3.0, 4.0, 5.0, 5.0, 6.0}));

    curve->setPointOrdering(ChartPointOrdering::ByY);
    for (std::size_t i = 1; i < curve->pointCount(); ++i) {
        EXPECT_LE(curve->point(i - 1).Y, curve->point(i).Y);
    }
}

TEST_F(SerieTest, NearestByXFindsTheClosestPointInAnyOrder) {
    struct Case {
        std::vector<double> x;
        double at;
        std::optional<std::size_t> nearest;
    };
    const Case cases[] = {
        {{0, 1, 2, 3}, 1.4, 1},          {{0, 1, 2, 3}, 1.6, 2},  {{0, 1, 2, 3}, -5, 0},
        {{0, 1, 2, 3}, 99, 3},           {{3, 2, 1, 0}, 0.9, 2},  {{3, 2, 1, 0}, 7, 0},
        {{0, 5, 1, 4}, 3.8, 3},          {{}, 1.0, std::nullopt}, {{0, 1}, NAN, std::nullopt},
        {{NAN, NAN}, 1.0, std::nullopt},
    };
    for (const Case& c : cases) {
        CChartCtrl own;
        auto* serie = own.createLineSerie();
        serie->setPointOrdering(ChartPointOrdering::None);
        for (const double x : c.x) {
            serie->addPoint(x, 0.0);
        }
        EXPECT_EQ(serie->nearestByX(c.at), c.nearest) << c.at;
    }
}

TEST_F(SerieTest, RemoveLastAndRemoveAll) {
    curve->setPointOrdering(ChartPointOrdering::None);
    curve->addPoint(1.0, 1.0);
    curve->addPoint(2.0, 2.0);
    curve->removeLastPoint();
    EXPECT_EQ(xsOf(*curve), (std::vector<double>{1.0}));
    curve->removeLastPoint();
    curve->removeLastPoint();  // on an empty series: nothing
    EXPECT_EQ(curve->pointCount(), 0u);
    curve->addPoint(3.0, 3.0);
    curve->removeAllPoints();
    EXPECT_EQ(curve->pointCount(), 0u);
}

// The real-time view's steady state: each batch appends k points to a long
// curve and removes k from its front. The points moved by the removals stay
// below the points removed, so a batch costs O(k), however long the curve.
TEST_F(SerieTest, ScrollingBatchesMoveFewerPointsThanTheyRemove) {
    curve->setPointOrdering(ChartPointOrdering::None);
    constexpr std::size_t kLength = 10000;
    constexpr std::size_t kBatch = 500;
    std::vector<double> x(kLength);
    std::iota(x.begin(), x.end(), 0.0);
    curve->addPoints(x.data(), x.data(), kLength);
    double next = kLength;
    std::size_t removed = 0;
    for (int batch = 0; batch < 400; ++batch) {
        std::vector<double> bx(kBatch);
        std::iota(bx.begin(), bx.end(), next);
        next += kBatch;
        curve->addPoints(bx.data(), bx.data(), kBatch);
        curve->removeFirstPoints(kBatch);
        removed += kBatch;
        ASSERT_EQ(curve->pointCount(), kLength);
    }
    EXPECT_LE(curve->movedPoints(), removed);
    EXPECT_GT(curve->movedPoints(), 0u);  // the dead prefix is reclaimed
    const auto points = curve->points();
    EXPECT_EQ(points.front().X, next - kLength);
    EXPECT_EQ(points.back().X, next - 1.0);
    for (std::size_t i = 1; i < points.size(); ++i) {
        ASSERT_EQ(points[i].X, points[i - 1].X + 1.0);  // contiguous and in order
    }
}

TEST(SerieExtent, IgnoresNonFiniteValuesAndBarsIncludeAFixedBaseLine) {
    CChartCtrl chart;
    auto* curve = chart.createLineSerie();
    EXPECT_FALSE(curve->extent(true).has_value());
    curve->addPoint(2.0, 5.0);
    curve->addPoint(std::nan(""), 9.0);
    curve->addPoint(4.0, -1.0);
    ASSERT_TRUE(curve->extent(true).has_value());
    EXPECT_EQ(curve->extent(true)->minimum, 2.0);
    EXPECT_EQ(curve->extent(true)->maximum, 4.0);
    EXPECT_EQ(curve->extent(false)->maximum, 9.0);

    auto* bars = chart.createBarSerie();
    bars->addPoint(1.0, 3.0);
    EXPECT_EQ(bars->extent(false)->minimum, 3.0);  // automatic base: the axis decides
    bars->setBaseLine(false, 0.0);
    EXPECT_EQ(bars->extent(false)->minimum, 0.0);
    EXPECT_EQ(bars->extent(true)->minimum, 1.0);
}

}  // namespace
}  // namespace sundrel::widgets
