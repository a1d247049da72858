#include "frames/ui/detect_dlg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/panel_codes.h"
#include "test_support/fake_panel_context.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_legend.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_standard_axis.h"
#include "widgets/chart_title.h"

namespace sundrel::frames {
namespace {

using widgets::CChartCtrl;
using widgets::CChartStandardAxis;
using widgets::ChartAxisSlot;

constexpr double kEncoder = 0.02;

// Frame i carries the words i, i + 1000, i + 2000, i + 3000.
std::vector<std::uint8_t> stream(RailSide side, std::size_t frames, std::size_t first = 0) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = first; i < first + frames; ++i) {
        const auto w = static_cast<std::uint16_t>(i);
        const auto frame = makeFrame(
            side, {w, static_cast<std::uint16_t>(w + 1000), static_cast<std::uint16_t>(w + 2000),
                   static_cast<std::uint16_t>(w + 3000)});
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

class DetectDlgTest : public ::testing::Test {
protected:
    DetectDlgTest() {
        settings_.dEncoder = kEncoder;
        settings_.nSerialReserveData = 1000;
        settings_.dXmin = 0;
        settings_.dXmax = 20;
        settings_.dYmin = -7;  // not used by this view
        settings_.dYmax = 2;
        for (int k = 0; k < 4; ++k) {
            settings_.leftEddy[k].slope = 1.0;
            settings_.leftEddy[k].intercept = 0.0;
            settings_.rightEddy[k].slope = 1.0;
            settings_.rightEddy[k].intercept = 0.0;
        }
    }

    CDetcetDlg& view() {
        if (view_ == nullptr) {
            view_ = std::make_unique<CDetcetDlg>(fake_.context);
        }
        return *view_;
    }

    void send(core::PanelCode code, std::intptr_t lparam = 0, const void* data = nullptr,
              std::size_t count = 0) {
        view().handlePanelMessage(
            {static_cast<std::uintptr_t>(code), reinterpret_cast<std::uintptr_t>(data), 0, count},
            lparam);
    }
    void start() { send(core::PanelCode::Clear); }
    void batch(RailSide side, const std::vector<std::uint8_t>& bytes) {
        // The batch lives only for the call, as a worker's buffer does.
        std::vector<std::uint8_t> copy = bytes;
        send(core::PanelCode::AcquisitionBatch, static_cast<std::intptr_t>(side), copy.data(),
             copy.size());
        std::fill(copy.begin(), copy.end(), std::uint8_t{0});
    }

    CChartCtrl& chart(RailSide side) { return *view().chart(side); }
    CChartStandardAxis& axis(RailSide side, ChartAxisSlot slot) {
        return *static_cast<CChartStandardAxis*>(chart(side).axis(slot));
    }
    std::size_t points(RailSide side) {
        const std::size_t n = view().curve(side, 0)->pointCount();
        for (std::size_t k = 1; k < 4; ++k) {
            EXPECT_EQ(view().curve(side, k)->pointCount(), n) << "curve " << k;
        }
        return n;
    }
    std::pair<double, double> bottomRange(RailSide side) {
        const auto range = axis(side, ChartAxisSlot::Bottom).range();
        return {range.minimum, range.maximum};
    }

    sundrel::testing::FakePanelContext fake_;
    core::SettingsRecord& settings_ = fake_.settings;
    std::unique_ptr<CDetcetDlg> view_;
};

TEST_F(DetectDlgTest, EachRailGetsAChartOfFourSensorCurves) {
    const struct {
        RailSide side;
        const char* title;
    } charts[] = {{RailSide::Left, "左 轨 实 时 测 量 数 据"},
                  {RailSide::Right, "右 轨 实 时 测 量 数 据"}};
    const char* names[] = {"传感器1#", "传感器2#", "传感器3#", "传感器4#"};
    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                              QColor(0, 0, 0)};
    const QColor green(0, 199, 140);
    for (const auto& c : charts) {
        SCOPED_TRACE(c.title);
        CChartCtrl& ch = chart(c.side);
        EXPECT_EQ(ch.edgeStyle(), 8u);
        EXPECT_EQ(ch.borderColor(), green);
        EXPECT_TRUE(ch.title()->isVisible());
        EXPECT_EQ(ch.title()->lines(), QStringList{QString::fromUtf8(c.title)});
        EXPECT_EQ(ch.title()->font().face, QString::fromUtf8("微软雅黑"));
        EXPECT_EQ(ch.title()->font().sizeTenths, 120);
        EXPECT_FALSE(ch.title()->font().bold);
        EXPECT_EQ(ch.title()->color(), QColor(Qt::black));

        CChartStandardAxis& bottom = axis(c.side, ChartAxisSlot::Bottom);
        EXPECT_FALSE(bottom.isAutomaticRange());
        EXPECT_EQ(bottomRange(c.side), std::make_pair(0.0, 20.0));
        EXPECT_FALSE(bottom.isTickStepAutomatic());
        EXPECT_EQ(bottom.tickStep(), 4.0);
        EXPECT_EQ(bottom.tickDecimals(), 0);
        EXPECT_EQ(bottom.title()->text(), QString::fromUtf8("运行距离/m"));
        EXPECT_EQ(bottom.title()->font().face, QString::fromUtf8("微软雅黑"));
        EXPECT_EQ(bottom.color(), green);

        CChartStandardAxis& left = axis(c.side, ChartAxisSlot::Left);
        EXPECT_FALSE(left.isAutomaticRange());
        EXPECT_EQ(left.range().minimum, 0.0);
        EXPECT_EQ(left.range().maximum, 10.0);  // 5 x dYmax
        EXPECT_TRUE(left.isTickStepAutomatic());
        EXPECT_EQ(left.title()->text(), QString::fromUtf8("距离/mm"));
        EXPECT_EQ(left.title()->font().sizeTenths, 120);
        EXPECT_EQ(left.color(), green);

        ASSERT_EQ(ch.seriesCount(), 4u);
        for (std::size_t k = 0; k < 4; ++k) {
            const widgets::CChartLineSerie* curve = view().curve(c.side, k);
            EXPECT_EQ(ch.serie(k), curve);
            EXPECT_EQ(curve->name(), QString::fromUtf8(names[k]));
            EXPECT_EQ(curve->color(), colours[k]);
            EXPECT_EQ(curve->lineWidth(), 3);
            EXPECT_EQ(curve->pointOrdering(), widgets::ChartPointOrdering::None);
        }

        const widgets::CChartLegend& legend = *ch.legend();
        EXPECT_TRUE(legend.isVisible());
        EXPECT_TRUE(legend.isDocked());
        EXPECT_EQ(legend.dockSide(), widgets::ChartDockSide::Bottom);
        EXPECT_TRUE(legend.isHorizontal());
        EXPECT_EQ(legend.backgroundColor(), QColor(255, 227, 132));
        EXPECT_EQ(legend.shadowColor(), QColor(Qt::white));
        EXPECT_EQ(legend.shadowDepth(), 0);
        EXPECT_EQ(ch.redrawCounter(), 1);
    }
}

TEST_F(DetectDlgTest, EachSideDrawsItsOwnFramesFromDistanceZero) {
    start();
    batch(RailSide::Left, stream(RailSide::Left, 4));
    batch(RailSide::Right, stream(RailSide::Right, 2, 500));
    batch(RailSide::Left, stream(RailSide::Left, 6, 4));

    ASSERT_EQ(points(RailSide::Left), 10u);
    const widgets::CChartLineSerie& sensor2 = *view().curve(RailSide::Left, 1);
    EXPECT_EQ(sensor2.point(0).X, 0.0);
    EXPECT_EQ(sensor2.point(9).X, 9 * kEncoder);
    EXPECT_EQ(sensor2.point(9).Y, 1009.0);
    ASSERT_EQ(points(RailSide::Right), 2u);
    EXPECT_EQ(view().curve(RailSide::Right, 3)->point(0).X, 0.0);
    EXPECT_EQ(view().curve(RailSide::Right, 3)->point(1).X, kEncoder);
    EXPECT_EQ(view().curve(RailSide::Right, 3)->point(1).Y, 3501.0);
}

// Batches of `batchFrames` frames on the left side, with the display window
// nSerialReserveData: what the curves hold and the bottom axis spans.
TEST_F(DetectDlgTest, TheChartKeepsTheMostRecentFramesOfTheDisplayWindow) {
    struct Case {
        std::int32_t window;
        std::size_t batchFrames;
        std::size_t batches;
        std::size_t points;
        double axisFrom;  // frames
        double axisTo;    // frames; both < 0: dXmin..dXmax unchanged
    };
    const Case cases[] = {
        {1000, 100, 10, 1000, -1, -1},   {1000, 100, 11, 1000, 100, 1100},
        {1000, 300, 3, 900, -1, -1},     {1000, 300, 4, 900, 300, 1200},
        {1000, 300, 7, 900, 1200, 2100}, {0, 100, 3, 0, 300, 300},
        {-5, 100, 15, 1500, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.window << ": " << c.batchFrames << " x " << c.batches);
        settings_.nSerialReserveData = c.window;
        start();
        for (std::size_t b = 0; b < c.batches; ++b) {
            batch(RailSide::Left, stream(RailSide::Left, c.batchFrames, b * c.batchFrames));
        }
        ASSERT_EQ(points(RailSide::Left), c.points);
        if (c.axisFrom < 0) {
            EXPECT_EQ(bottomRange(RailSide::Left), std::make_pair(0.0, 20.0));
        } else {
            EXPECT_EQ(bottomRange(RailSide::Left),
                      std::make_pair(c.axisFrom * kEncoder, c.axisTo * kEncoder));
        }
        if (c.points > 0) {
            // The oldest point on display is the first frame of the window.
            const auto first = static_cast<double>(c.batchFrames * c.batches - c.points);
            EXPECT_EQ(view().curve(RailSide::Left, 0)->point(0).X, first * kEncoder);
            EXPECT_EQ(view().curve(RailSide::Left, 0)->point(0).Y, first);
        }
        EXPECT_EQ(points(RailSide::Right), 0u);
        EXPECT_EQ(bottomRange(RailSide::Right), std::make_pair(0.0, 20.0));
    }
}

TEST_F(DetectDlgTest, ABatchRedrawsOnlyItsOwnChartAndOnlyOnce) {
    start();
    const auto bytes = stream(RailSide::Right, 683);
    const std::uint64_t left = chart(RailSide::Left).redrawCount();
    const std::uint64_t right = chart(RailSide::Right).redrawCount();
    batch(RailSide::Right, {bytes.begin(), bytes.begin() + 4});  // no frame: no redraw
    EXPECT_EQ(chart(RailSide::Right).redrawCount(), right);

    batch(RailSide::Right, {bytes.begin() + 4, bytes.end()});  // 8192 bytes, two passes
    EXPECT_EQ(points(RailSide::Right), 683u);
    EXPECT_EQ(view().curve(RailSide::Right, 0)->point(682).X, 682 * kEncoder);
    EXPECT_EQ(chart(RailSide::Right).redrawCount(), right + 1);
    EXPECT_EQ(chart(RailSide::Right).redrawCounter(), 1);

    settings_.nSerialReserveData = 100;  // read at the next start only
    batch(RailSide::Right, stream(RailSide::Right, 100, 683));
    EXPECT_EQ(points(RailSide::Right), 783u);
    EXPECT_EQ(chart(RailSide::Right).redrawCount(), right + 2);
    EXPECT_EQ(chart(RailSide::Left).redrawCount(), left);
}

TEST_F(DetectDlgTest, InterleavedSidesNeverMixTheirPartialFrames) {
    start();
    const auto left = stream(RailSide::Left, 1, 7);
    const auto right = stream(RailSide::Right, 2, 9);
    batch(RailSide::Left, {left.begin(), left.begin() + 11});
    EXPECT_EQ(points(RailSide::Left), 0u);
    batch(RailSide::Right, {right.begin(), right.begin() + 17});
    batch(RailSide::Left, {left.begin() + 11, left.end()});
    batch(RailSide::Right, {right.begin() + 17, right.end()});

    ASSERT_EQ(points(RailSide::Left), 1u);
    EXPECT_EQ(view().curve(RailSide::Left, 2)->point(0).Y, 2007.0);
    ASSERT_EQ(points(RailSide::Right), 2u);
    EXPECT_EQ(view().curve(RailSide::Right, 2)->point(1).Y, 2010.0);
    EXPECT_EQ(view().curve(RailSide::Right, 2)->point(1).X, kEncoder);
}

TEST_F(DetectDlgTest, AStartClearsBothChartsAndTakesTheNewSettings) {
    settings_.nSerialReserveData = 50;
    start();
    batch(RailSide::Left, stream(RailSide::Left, 40));
    batch(RailSide::Left, stream(RailSide::Left, 40, 40));
    const auto right = stream(RailSide::Right, 30);
    batch(RailSide::Right, {right.begin(), right.end() - 5});
    ASSERT_NE(bottomRange(RailSide::Left), std::make_pair(0.0, 20.0));

    // Changed while the run goes on: nothing changes before the next start.
    settings_.leftEddy[0].slope = 0.5;
    settings_.leftEddy[0].intercept = 3.0;
    settings_.rightEddy[3].slope = -2.0;
    settings_.rightEddy[3].intercept = 0.25;
    settings_.dYmax = 3;
    settings_.dXmin = 5;
    settings_.dXmax = 45;
    batch(RailSide::Left, stream(RailSide::Left, 1, 80));
    ASSERT_EQ(points(RailSide::Left), 40u);
    EXPECT_EQ(view().curve(RailSide::Left, 0)->point(39).Y, 80.0);
    send(core::PanelCode::Stop);
    EXPECT_EQ(points(RailSide::Left), 40u);
    EXPECT_EQ(bottomRange(RailSide::Left), std::make_pair(41 * kEncoder, 81 * kEncoder));

    start();
    EXPECT_EQ(points(RailSide::Left), 0u);
    EXPECT_EQ(points(RailSide::Right), 0u);
    for (const RailSide side : {RailSide::Left, RailSide::Right}) {
        EXPECT_EQ(bottomRange(side), std::make_pair(5.0, 45.0));
        EXPECT_EQ(axis(side, ChartAxisSlot::Left).range().maximum, 15.0);
    }
    batch(RailSide::Left, stream(RailSide::Left, 1, 40));
    batch(RailSide::Right, stream(RailSide::Right, 1, 40));  // the stale 7 bytes are gone
    ASSERT_EQ(points(RailSide::Left), 1u);
    ASSERT_EQ(points(RailSide::Right), 1u);
    EXPECT_EQ(view().curve(RailSide::Left, 0)->point(0).X, 0.0);
    EXPECT_EQ(view().curve(RailSide::Left, 0)->point(0).Y, 40 * 0.5 + 3.0);
    EXPECT_EQ(view().curve(RailSide::Left, 3)->point(0).Y, 3040.0);
    EXPECT_EQ(view().curve(RailSide::Right, 0)->point(0).X, 0.0);
    EXPECT_EQ(view().curve(RailSide::Right, 3)->point(0).Y, 3040 * -2.0 + 0.25);
}

TEST_F(DetectDlgTest, BatchesOfNoRailAndOtherCodesChangeNothing) {
    start();
    batch(RailSide::Left, stream(RailSide::Left, 3));
    const std::uint64_t left = chart(RailSide::Left).redrawCount();
    const auto bytes = stream(RailSide::Right, 5);
    for (const std::intptr_t side : {0, 3, -1}) {
        send(core::PanelCode::AcquisitionBatch, side, bytes.data(), bytes.size());
    }
    send(core::PanelCode::Stop);
    send(core::PanelCode::StartMeasurement);
    send(core::PanelCode::Profile, 1, bytes.data(), bytes.size());
    EXPECT_EQ(points(RailSide::Left), 3u);
    EXPECT_EQ(points(RailSide::Right), 0u);
    EXPECT_EQ(chart(RailSide::Left).redrawCount(), left);
}

TEST_F(DetectDlgTest, ALookColourFillsTheViewAndBothCharts) {
    send(core::PanelCode::ApplyLook, 0, reinterpret_cast<const void*>(std::uintptr_t{0x84E3FF}));
    EXPECT_EQ(view().backgroundColour(), QColor(255, 227, 132));
    for (const RailSide side : {RailSide::Left, RailSide::Right}) {
        EXPECT_EQ(chart(side).backgroundColor(), QColor(255, 227, 132));
        EXPECT_FALSE(chart(side).hasBackgroundGradient());
    }
}

TEST_F(DetectDlgTest, TheChartsShareTheHeightWithAFourPixelGap) {
    view().show();
    for (const QSize size : {QSize(640, 480), QSize(401, 301)}) {
        view().resize(size);
        const int half = size.height() / 2;
        EXPECT_EQ(chart(RailSide::Left).geometry(), QRect(0, 0, size.width(), half - 2));
        EXPECT_EQ(chart(RailSide::Right).geometry(),
                  QRect(0, half + 2, size.width(), size.height() - half - 2));
    }
}

}  // namespace
}  // namespace sundrel::frames
