#include "calibration/ui/calibration_point_sender.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdint>
#include <memory>
#include <vector>

#include "chart_test_support.h"
#include "core/panel_messenger.h"
#include "core/panel_registry.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"

namespace sundrel::calibration {
namespace {

using core::PanelCode;
using core::PanelMessage;
using core::PanelSlot;
using namespace widgets;

// The calibration view's side of the message: what arrived, and the Y read
// through LPARAM while the send was being handled.
class RecordingCalibrationView : public core::Panel {
public:
    struct Received {
        PanelMessage message;
        std::intptr_t lparam;
        double y;
    };
    std::vector<Received> received;

    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override {
        if (core::codeOf(message) != PanelCode::CalibrationPoint) {
            return;
        }
        received.push_back({message, lparam, *reinterpret_cast<const double*>(lparam)});
    }
};

class CalibrationListenerTest : public ::testing::Test {
protected:
    core::PanelRegistry registry;
    std::unique_ptr<core::PanelMessenger> messenger =
        std::make_unique<core::PanelMessenger>(registry);
    RecordingCalibrationView view;
    CChartCtrl chart;
    CChartPointsSerie* markers = chart.createPointsSerie();
    CMyChartSeriesMouseListener listener{calibrationPointSender(*messenger)};

    void SetUp() override {
        ASSERT_TRUE(registry.registerPanel(PanelSlot::CalibrationView, &view));
        markers->setPointOrdering(ChartPointOrdering::None);
    }
};

TEST_F(CalibrationListenerTest, AMoveOverAPointSendsCode9WithTheTruncatedXAndTheAddressOfY) {
    markers->addPoint(1000.0, 1.0);
    markers->addPoint(1536.7, 2.5);
    listener.onMouseEvent(ChartMouseEvent::MouseMove, QPoint(10, 10), *markers, 1);
    ASSERT_EQ(view.received.size(), 1u);
    const auto& got = view.received[0];
    EXPECT_EQ(got.message.code, 9u);
    EXPECT_EQ(static_cast<std::int32_t>(got.message.data), 1536);
    EXPECT_EQ(got.message.count, 1u);
    EXPECT_EQ(got.lparam, reinterpret_cast<std::intptr_t>(&markers->points()[1].Y));
    EXPECT_EQ(got.y, 2.5);
}

TEST_F(CalibrationListenerTest, XIsTruncatedTowardZeroToItsLow32Bits) {
    const std::pair<double, std::int32_t> cases[] = {{2.9, 2},
                                                     {-3.9, -3},
                                                     {0.4, 0},
                                                     {-0.4, 0},
                                                     {65535.0, 65535},
                                                     {4294967296.0 + 5.0, 5},
                                                     {2147483648.0, INT32_MIN}};
    for (const auto& [x, expected] : cases) {
        view.received.clear();
        markers->removeAllPoints();
        markers->addPoint(x, 1.0);
        listener.onMouseEvent(ChartMouseEvent::MouseMove, QPoint(), *markers, 0);
        ASSERT_EQ(view.received.size(), 1u);
        // Read as the view reads it, and as a pointer-sized word.
        EXPECT_EQ(static_cast<std::int32_t>(view.received[0].message.data), expected) << x;
        EXPECT_EQ(static_cast<std::intptr_t>(view.received[0].message.data), expected) << x;
    }
}

TEST_F(CalibrationListenerTest, OtherEventsAndMovesOverNoPointSendNothing) {
    markers->addPoint(1000.0, 1.0);
    for (const ChartMouseEvent event :
         {ChartMouseEvent::LeftButtonUp, ChartMouseEvent::LeftButtonDown,
          ChartMouseEvent::LeftDoubleClick, ChartMouseEvent::RightButtonUp,
          ChartMouseEvent::RightButtonDown, ChartMouseEvent::RightDoubleClick}) {
        listener.onMouseEvent(event, QPoint(), *markers, 0);
    }
    listener.onMouseEvent(ChartMouseEvent::MouseMove, QPoint(), *markers, -1);
    listener.onMouseEvent(ChartMouseEvent::MouseMove, QPoint(), *markers, 7);  // no such point
    EXPECT_TRUE(view.received.empty());
}

// The calibration view's set-up: the listener on the measured and the marker
// curve, moves on, clicks off; hovering a point reports it once.
TEST_F(CalibrationListenerTest, HoveringAPointOfTheCalibrationChartReachesTheView) {
    chart.resize(600, 400);
    chart_testing::setUpPlainChart(chart, {0.0, 4200.0}, {0.0, 10.0});
    chart.removeAllSeries();
    auto* measured = chart.createLineSerie();
    measured->setLineWidth(5);
    auto* points = chart.createPointsSerie();
    points->setMarkerSize(15, 15);
    for (CChartXYSerie* serie :
         {static_cast<CChartXYSerie*>(points), static_cast<CChartXYSerie*>(measured)}) {
        serie->setPointOrdering(ChartPointOrdering::None);
        serie->attachMouseListener(&listener);
        serie->enableMouseMoveNotification(true);
        serie->enableMouseClickNotification(false);
        serie->addPoint(1536.0, 2.5);
        serie->addPoint(3000.0, 7.0);
    }
    const ChartLayout layout = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
    const QPoint over = layout.toScreen({1536.0, 2.5}).toPoint() + QPoint(3, -2);
    QMouseEvent move(QEvent::MouseMove, QPointF(over), QPointF(chart.mapToGlobal(over)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    ASSERT_EQ(view.received.size(), 1u);  // the first series (measured) took it
    EXPECT_EQ(static_cast<std::int32_t>(view.received[0].message.data), 1536);
    EXPECT_EQ(view.received[0].y, 2.5);
    EXPECT_EQ(view.received[0].lparam, reinterpret_cast<std::intptr_t>(&measured->points()[0].Y));

    QMouseEvent click(QEvent::MouseButtonPress, QPointF(over), QPointF(chart.mapToGlobal(over)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &click);
    EXPECT_EQ(view.received.size(), 1u);
}

}  // namespace
}  // namespace sundrel::calibration
