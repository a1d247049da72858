#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "chart_test_support.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"

namespace sundrel::widgets {
namespace {

using chart_testing::setUpPlainChart;

class RecordingListener : public CChartSeriesMouseListener<SChartXYPoint> {
public:
    struct Call {
        ChartMouseEvent event;
        QPoint position;
        CChartXYSerie* serie;
        int index;
    };
    std::vector<Call> calls;

    void onMouseEvent(ChartMouseEvent event, QPoint position, CChartXYSerie& serie,
                      int pointIndex) override {
        calls.push_back({event, position, &serie, pointIndex});
    }
};

void sendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint position) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(position), QPointF(widget.mapToGlobal(position)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

class ChartMouseTest : public ::testing::Test {
protected:
    CChartCtrl chart;

    void SetUp() override {
        chart.resize(400, 300);
        setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    }

    QPoint at(double x, double y) const {
        const ChartLayout layout = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
        return layout.toScreen({x, y}).toPoint();
    }

    CChartXYSerie* serieWith(CChartXYSerie* serie, RecordingListener* listener, double x,
                             double y) {
        serie->addPoint(x, y);
        if (listener != nullptr) {
            serie->attachMouseListener(listener);
            serie->enableMouseMoveNotification(true);
            serie->enableMouseClickNotification(true);
        }
        return serie;
    }
};

TEST_F(ChartMouseTest, TheFirstSeriesInCreationOrderThatCanReportItTakesTheEvent) {
    RecordingListener early;
    RecordingListener middle;
    RecordingListener late;
    serieWith(chart.createLineSerie(), nullptr, 5.0, 5.0);             // no listener
    auto* b = serieWith(chart.createPointsSerie(), &early, 2.0, 2.0);  // not under the cursor
    auto* c = serieWith(chart.createLineSerie(), &middle, 5.0, 5.0);
    serieWith(chart.createPointsSerie(), &late, 5.0, 5.0);  // also there, but later

    EXPECT_TRUE(chart.dispatchMouseEvent(ChartMouseEvent::MouseMove, at(5.0, 5.0)));
    ASSERT_EQ(middle.calls.size(), 1u);
    EXPECT_EQ(middle.calls[0].serie, c);
    EXPECT_EQ(middle.calls[0].index, 0);
    EXPECT_EQ(middle.calls[0].position, at(5.0, 5.0));
    EXPECT_TRUE(early.calls.empty());
    EXPECT_TRUE(late.calls.empty());

    EXPECT_TRUE(chart.dispatchMouseEvent(ChartMouseEvent::MouseMove, at(2.0, 2.0)));
    ASSERT_EQ(early.calls.size(), 1u);
    EXPECT_EQ(early.calls[0].serie, b);

    // Off every point: nobody.
    EXPECT_FALSE(chart.dispatchMouseEvent(ChartMouseEvent::MouseMove, at(8.0, 8.0)));
    EXPECT_EQ(early.calls.size() + middle.calls.size() + late.calls.size(), 2u);
}

TEST_F(ChartMouseTest, WithMoveNotificationOffMovesNeverReachTheListener) {
    RecordingListener listener;
    auto* markers = chart.createPointsSerie();
    markers->setMarkerSize(15, 15);
    markers->addPoint(4.0, 6.0);
    markers->attachMouseListener(&listener);
    markers->enableMouseMoveNotification(false);
    markers->enableMouseClickNotification(true);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));

    const QPoint point = at(4.0, 6.0);
    QTest::mouseMove(&chart, point);
    QTest::mouseMove(&chart, point + QPoint(2, 1));
    EXPECT_TRUE(listener.calls.empty());
    EXPECT_FALSE(chart.dispatchMouseEvent(ChartMouseEvent::MouseMove, point));

    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, point);
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].event, ChartMouseEvent::LeftButtonDown);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, point);

    // And the other way round: clicks off, moves on.
    listener.calls.clear();
    markers->enableMouseMoveNotification(true);
    markers->enableMouseClickNotification(false);
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_TRUE(listener.calls.empty());
    QTest::mouseMove(&chart, point + QPoint(1, 0));
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].event, ChartMouseEvent::MouseMove);
}

TEST_F(ChartMouseTest, EachMouseMessageBecomesItsEventCode) {
    RecordingListener listener;
    serieWith(chart.createPointsSerie(), &listener, 5.0, 5.0);
    const QPoint point = at(5.0, 5.0);
    const struct {
        QEvent::Type type;
        Qt::MouseButton button;
        ChartMouseEvent event;
    } cases[] = {
        {QEvent::MouseMove, Qt::NoButton, ChartMouseEvent::MouseMove},
        {QEvent::MouseButtonRelease, Qt::LeftButton, ChartMouseEvent::LeftButtonUp},
        {QEvent::MouseButtonPress, Qt::LeftButton, ChartMouseEvent::LeftButtonDown},
        {QEvent::MouseButtonDblClick, Qt::LeftButton, ChartMouseEvent::LeftDoubleClick},
        {QEvent::MouseButtonRelease, Qt::RightButton, ChartMouseEvent::RightButtonUp},
        {QEvent::MouseButtonPress, Qt::RightButton, ChartMouseEvent::RightButtonDown},
        {QEvent::MouseButtonDblClick, Qt::RightButton, ChartMouseEvent::RightDoubleClick},
    };
    for (const auto& c : cases) {
        listener.calls.clear();
        sendMouse(chart, c.type, c.button, point);
        ASSERT_EQ(listener.calls.size(), 1u) << static_cast<int>(c.event);
        EXPECT_EQ(listener.calls[0].event, c.event);
        EXPECT_EQ(static_cast<int>(c.event), static_cast<int>(&c - cases));  // codes 0..6
    }
}

TEST_F(ChartMouseTest, TheWheelZoomsAboutTheCursorAndADoubleClickReturns) {
    const QPoint cursor = at(3.0, 7.0);
    const ChartLayout before = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
    const SChartXYPoint under = before.toValue(QPointF(cursor));
    QWheelEvent wheel(QPointF(cursor), QPointF(chart.mapToGlobal(cursor)), QPoint(), QPoint(0, 240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);

    const ChartLayout after = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
    const ChartRange x = after.horizontal()->scale.range;
    EXPECT_NEAR(x.maximum - x.minimum, 10.0 / 1.5625, 1e-9);  // two notches of 1.25
    EXPECT_NEAR(after.toValue(QPointF(cursor)).X, under.X, 1e-9);
    EXPECT_NEAR(after.toValue(QPointF(cursor)).Y, under.Y, 1e-9);
    EXPECT_EQ(chart.horizontalAxis()->range().maximum, 10.0);  // the view's range stays

    sendMouse(chart, QEvent::MouseButtonDblClick, Qt::LeftButton, cursor);
    const ChartLayout reset = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
    EXPECT_EQ(reset.horizontal()->scale.range.minimum, 0.0);
    EXPECT_EQ(reset.horizontal()->scale.range.maximum, 10.0);
    EXPECT_EQ(reset.vertical()->scale.range.maximum, 10.0);
}

TEST_F(ChartMouseTest, ALeftDragPansAndTheDataFollowsTheCursor) {
    chart.horizontalAxis()->setInverted(true);
    const QPoint from = at(4.0, 4.0);
    const QPoint to = from + QPoint(60, -30);
    sendMouse(chart, QEvent::MouseButtonPress, Qt::LeftButton, from);
    sendMouse(chart, QEvent::MouseMove, Qt::LeftButton, to);
    sendMouse(chart, QEvent::MouseButtonRelease, Qt::LeftButton, to);
    const ChartLayout layout = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
    EXPECT_NEAR(layout.toValue(QPointF(to)).X, 4.0, 0.05);
    EXPECT_NEAR(layout.toValue(QPointF(to)).Y, 4.0, 0.05);
    const ChartRange x = layout.horizontal()->scale.range;
    EXPECT_NEAR(x.maximum - x.minimum, 10.0, 1e-9);  // a pan keeps the span
}

}  // namespace
}  // namespace sundrel::widgets
