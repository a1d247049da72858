#include "widgets/chart_ctrl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace sundrel::widgets {
namespace {

class RedrawTest : public ::testing::Test {
protected:
    CChartCtrl chart;
    CChartStandardAxis* bottom = chart.createStandardAxis(ChartAxisSlot::Bottom);
    CChartLineSerie* curve = chart.createLineSerie();
};

TEST_F(RedrawTest, NestedSuspensionsRedrawOnceWhenTheLastIsResumed) {
    EXPECT_EQ(chart.redrawCounter(), 1);
    const std::uint64_t before = chart.redrawCount();
    chart.suspendRedraws();
    chart.suspendRedraws();
    bottom->setRange(0.0, 40.0);
    EXPECT_EQ(chart.redrawCount(), before);
    EXPECT_TRUE(chart.isRedrawPending());
    chart.resumeRedraws();
    EXPECT_EQ(chart.redrawCounter(), 0);
    EXPECT_EQ(chart.redrawCount(), before);  // still suspended once
    chart.resumeRedraws();
    EXPECT_EQ(chart.redrawCount(), before + 1);
    EXPECT_FALSE(chart.isRedrawPending());
    EXPECT_EQ(chart.redrawCounter(), 1);
}

TEST_F(RedrawTest, ASuspendedBatchOfManyChangesIsOneRedraw) {
    std::vector<double> x(300, 1.0);
    const std::uint64_t before = chart.redrawCount();
    chart.suspendRedraws();
    for (int k = 0; k < 4; ++k) {
        curve->addPoints(x.data(), x.data(), x.size());
        curve->removeFirstPoints(100);
    }
    bottom->setRange(2.0, 6.0);
    chart.title()->addLine("x");
    chart.resumeRedraws();
    EXPECT_EQ(chart.redrawCount(), before + 1);
}

TEST_F(RedrawTest, ResumingWithNothingPendingDoesNotRedraw) {
    const std::uint64_t before = chart.redrawCount();
    chart.suspendRedraws();
    chart.resumeRedraws();
    EXPECT_EQ(chart.redrawCount(), before);
}

TEST_F(RedrawTest, EveryChangeOfTheDrawingRedrawsOnceWhenNotSuspended) {
    auto* bars = chart.createBarSerie();
    auto* markers = chart.createPointsSerie();
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"edge", [&] { chart.setEdgeStyle(8); }},
        {"border", [&] { chart.setBorderColor(Qt::green); }},
        {"background", [&] { chart.setBackgroundColor(Qt::white); }},
        {"gradient", [&] { chart.setBackgroundGradient(false); }},
        {"title line", [&] { chart.title()->addLine("标 定 数 据"); }},
        {"title font", [&] { chart.title()->setFont("微软雅黑", 120, false, false, false); }},
        {"legend dock", [&] { chart.legend()->dock(ChartDockSide::Bottom); }},
        {"legend shadow", [&] { chart.legend()->setShadowDepth(0); }},
        {"range", [&] { bottom->setRange(0.0, 5.0); }},
        {"inverted", [&] { bottom->setInverted(true); }},
        {"fixed step", [&] { bottom->setTickStep(1.0); }},
        {"axis title", [&] { bottom->title()->setText("运行距离/m"); }},
        {"axis colour", [&] { bottom->setColor(QColor(0, 199, 140)); }},
        {"name", [&] { curve->setName("传感器1#"); }},
        {"line width", [&] { curve->setLineWidth(3); }},
        {"smooth", [&] { curve->setSmooth(true); }},
        {"point", [&] { curve->addPoint(1.0, 2.0); }},
        {"remove last", [&] { curve->removeLastPoint(); }},
        {"marker", [&] { markers->setMarkerSize(15, 15); }},
        {"bar width", [&] { bars->setBarWidth(40); }},
        {"base line", [&] { bars->setBaseLine(false, 0.0); }},
        {"new series", [&] { chart.createLineSerie(); }},
        {"new axis", [&] { chart.createStandardAxis(ChartAxisSlot::Left); }},
    };
    for (const auto& [name, change] : changes) {
        const std::uint64_t before = chart.redrawCount();
        change();
        EXPECT_EQ(chart.redrawCount(), before + 1) << name;
    }
    const std::uint64_t before = chart.redrawCount();
    chart.removeAllSeries();
    EXPECT_EQ(chart.redrawCount(), before + 1);
    EXPECT_EQ(chart.seriesCount(), 0u);
}

// An axis that tells when it is deleted.
class WatchedAxis : public CChartStandardAxis {
public:
    WatchedAxis(CChartCtrl& chart, ChartAxisSlot slot) : CChartStandardAxis(chart, slot) {}
    ~WatchedAxis() override {
        if (deleted != nullptr) {
            ++*deleted;
        }
    }
    int* deleted = nullptr;
};

TEST(ChartAxes, InstallingAnAxisInAnOccupiedSlotDeletesThePreviousOne) {
    int deleted = 0;
    CChartCtrl chart;
    auto* first = chart.createAxis<WatchedAxis>(ChartAxisSlot::Left);
    first->deleted = &deleted;
    EXPECT_EQ(chart.axis(ChartAxisSlot::Left), first);
    EXPECT_EQ(chart.verticalAxis(), first);
    EXPECT_FALSE(first->isHorizontal());

    auto* second = chart.createStandardAxis(ChartAxisSlot::Left);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(chart.axis(ChartAxisSlot::Left), second);

    // The series' axes: bottom else top, left else right.
    EXPECT_EQ(chart.horizontalAxis(), nullptr);
    auto* top = chart.createStandardAxis(ChartAxisSlot::Top);
    EXPECT_EQ(chart.horizontalAxis(), top);
    auto* bottom = chart.createStandardAxis(ChartAxisSlot::Bottom);
    EXPECT_EQ(chart.horizontalAxis(), bottom);
    EXPECT_TRUE(bottom->isHorizontal());
}

TEST(ChartSeries, AreKeptInCreationOrder) {
    CChartCtrl chart;
    CChartXYSerie* a = chart.createLineSerie();
    CChartXYSerie* b = chart.createPointsSerie();
    CChartXYSerie* c = chart.createBarSerie();
    ASSERT_EQ(chart.seriesCount(), 3u);
    EXPECT_EQ(chart.serie(0), a);
    EXPECT_EQ(chart.serie(1), b);
    EXPECT_EQ(chart.serie(2), c);
    EXPECT_EQ(chart.serie(3), nullptr);
    EXPECT_EQ(a->kind(), ChartSerieKind::Line);
    EXPECT_EQ(b->kind(), ChartSerieKind::Points);
    EXPECT_EQ(c->kind(), ChartSerieKind::Bar);
}

}  // namespace
}  // namespace sundrel::widgets
