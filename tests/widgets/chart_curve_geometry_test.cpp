#include "widgets/chart_curve_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace sundrel::widgets {
namespace {

const QRectF kBox(0.0, 0.0, 100.0, 50.0);

TEST(ClipSegment, KeepsWhatLiesInsideTheBox) {
    struct Case {
        QPointF a, b;
        bool kept;
        QPointF clippedA, clippedB;
    };
    const Case cases[] = {
        {{10, 10}, {90, 40}, true, {10, 10}, {90, 40}},      // inside
        {{-50, 25}, {150, 25}, true, {0, 25}, {100, 25}},    // through, horizontal
        {{50, -10}, {50, 60}, true, {50, 0}, {50, 50}},      // through, vertical
        {{-10, -10}, {10, 10}, true, {0, 0}, {10, 10}},      // enters at a corner
        {{110, 10}, {120, 40}, false, {}, {}},               // beside
        {{-10, 60}, {60, 110}, false, {}, {}},               // passes the corner outside
        {{50, 70}, {50, 80}, false, {}, {}},                 // below, vertical
        {{100, 50}, {100, 50}, true, {100, 50}, {100, 50}},  // a point on the edge
    };
    for (const Case& c : cases) {
        QPointF a = c.a;
        QPointF b = c.b;
        ASSERT_EQ(clipSegment(a, b, kBox), c.kept) << c.a.x() << "," << c.a.y();
        if (c.kept) {
            EXPECT_NEAR(a.x(), c.clippedA.x(), 1e-9);
            EXPECT_NEAR(a.y(), c.clippedA.y(), 1e-9);
            EXPECT_NEAR(b.x(), c.clippedB.x(), 1e-9);
            EXPECT_NEAR(b.y(), c.clippedB.y(), 1e-9);
        }
    }
}

std::vector<QPointF> reduced(const std::vector<QPointF>& points) {
    std::vector<QPointF> out;
    ColumnReducer reducer(out);
    for (const QPointF& p : points) {
        reducer.add(p);
    }
    reducer.flush();
    return out;
}

TEST(ColumnReducer, KeepsFirstExtremesAndLastOfEachColumnInOrder) {
    struct Case {
        const char* what;
        std::vector<QPointF> in;
        std::vector<QPointF> out;
    };
    const std::vector<Case> cases = {
        {"one point per column passes through",
         {{0.5, 1}, {1.5, 2}, {2.5, 3}},
         {{0.5, 1}, {1.5, 2}, {2.5, 3}}},
        {"low before high",
         {{3.1, 5}, {3.2, 1}, {3.3, 9}, {3.4, 4}},
         {{3.1, 5}, {3.2, 1}, {3.3, 9}, {3.4, 4}}},
        {"high before low, inner points dropped",
         {{3.1, 5}, {3.2, 9}, {3.3, 6}, {3.5, 1}, {3.6, 2}, {3.7, 4}},
         {{3.1, 5}, {3.2, 9}, {3.5, 1}, {3.7, 4}}},
        {"the first is the lowest", {{7.0, 0}, {7.5, 3}, {7.9, 2}}, {{7.0, 0}, {7.5, 3}, {7.9, 2}}},
        {"the last is the highest", {{7.0, 1}, {7.5, 0}, {7.9, 5}}, {{7.0, 1}, {7.5, 0}, {7.9, 5}}},
        {"two columns",
         {{1.1, 1}, {1.2, 8}, {2.1, 3}, {2.2, 3}},
         {{1.1, 1}, {1.2, 8}, {2.1, 3}, {2.2, 3}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reduced(c.in), c.out) << c.what;
    }
}

TEST(SmoothCurve, PassesThroughEveryPointAndKeepsBreaks) {
    const std::vector<QPointF> line = {{0, 0}, {10, 40}, {20, 0}, kCurveBreak, {30, 10}, {40, 20}};
    std::vector<QPointF> out;
    smoothCurve(line, out, QRectF(0, 0, 100, 100));
    ASSERT_GT(out.size(), line.size());  // pieces were added between the points
    std::size_t next = 0;
    for (const QPointF& p : out) {
        if (next < line.size() && (isCurveBreak(line[next]) ? isCurveBreak(p) : p == line[next])) {
            ++next;
        }
    }
    EXPECT_EQ(next, line.size());  // every point and the break, in order
    EXPECT_EQ(std::count_if(out.begin(), out.end(), isCurveBreak), 1);
}

TEST(SmoothCurve, PiecesOutOfSightStayStraight) {
    const std::vector<QPointF> line = {{0, 0}, {10, 40}, {20, 0}};
    std::vector<QPointF> out;
    smoothCurve(line, out, QRectF(500, 500, 10, 10));
    EXPECT_EQ(out, line);
}

}  // namespace
}  // namespace sundrel::widgets
