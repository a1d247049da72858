#include <gtest/gtest.h>

#include <QImage>
#include <QTabBar>
#include <QTabWidget>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "analysis/ui/analyse_ctrl_dlg.h"
#include "analysis/ui/analyse_dlg.h"
#include "analysis/ui/evaluation_dlg.h"
#include "analysis/ui/waveform_view.h"
#include "core/panel_registry.h"
#include "test_support/fake_panel_context.h"
#include "test_support/scratch_folder.h"
#include "widgets/chart_axis.h"
#include "widgets/chart_bar_serie.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_renderer.h"
#include "widgets/chart_standard_axis.h"

namespace sundrel::analysis {
namespace {

using widgets::ChartAxisSlot;

std::vector<double> ramp(std::size_t n, double from, double step) {
    std::vector<double> values(n);
    for (std::size_t i = 0; i < n; ++i) {
        values[i] = from + step * static_cast<double>(i);
    }
    return values;
}

class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.dXmin = 0;
        settings_.dXmax = 100;
        settings_.dYmin = -0.5;
        settings_.dYmax = 0.5;
        settings_.dThLine1 = 0.3;
        settings_.dThLine2 = 0.1;
    }

    static core::PanelMessage message(core::PanelCode code, const double* data, const double* axis,
                                      std::size_t count) {
        return {static_cast<std::uintptr_t>(code), reinterpret_cast<std::uintptr_t>(data),
                reinterpret_cast<std::uintptr_t>(axis), count};
    }

    sundrel::testing::FakePanelContext fake_;
    core::SettingsRecord& settings_ = fake_.settings;
    const core::PanelContext& context_ = fake_.context;
};

TEST_F(ViewsTest, ABandViewPlotsBothRailsWithThresholdLines) {
    CFil30_100Dlg view{context_};
    EXPECT_EQ(view.thresholdLine(0)->pointCount(), 2u);  // dXmin..dXmax before any data
    view.handlePanelMessage(message(core::PanelCode::Clear, nullptr, nullptr, 0), 0);
    const auto distances = ramp(2500, 500.0, 0.02);
    const auto values = ramp(2500, 0.0, 0.0001);
    view.handlePanelMessage(
        message(core::PanelCode::Band30To100, values.data(), distances.data(), 2500), 1);
    EXPECT_EQ(view.leftCurve()->pointCount(), 2500u);
    EXPECT_EQ(view.rightCurve()->pointCount(), 0u);
    ASSERT_EQ(view.thresholdLine(0)->pointCount(), 2u);
    EXPECT_EQ(view.thresholdLine(0)->point(0).Y, 0.15);   // green, +dThLine1/2
    EXPECT_EQ(view.thresholdLine(3)->point(1).Y, -0.05);  // red, -dThLine2/2
    EXPECT_EQ(view.thresholdLine(0)->point(1).X, distances[2499]);
    // The right rail adds its curve but no threshold points.
    view.handlePanelMessage(
        message(core::PanelCode::Band30To100, values.data(), distances.data(), 999), 2);
    EXPECT_EQ(view.rightCurve()->pointCount(), 999u);
    EXPECT_EQ(view.thresholdLine(0)->pointCount(), 2u);
    // A right rail analysed alone draws the lines as well.
    view.handlePanelMessage(message(core::PanelCode::Clear, nullptr, nullptr, 0), 0);
    view.handlePanelMessage(
        message(core::PanelCode::Band30To100, values.data(), distances.data(), 999), 2);
    ASSERT_EQ(view.thresholdLine(2)->pointCount(), 2u);
    EXPECT_EQ(view.thresholdLine(2)->point(1).X, distances[998]);
    view.handlePanelMessage(
        message(core::PanelCode::Band30To100, values.data(), distances.data(), 2500), 1);
    // Other codes, among them other bands, change nothing.
    view.handlePanelMessage(
        message(core::PanelCode::Band100To300, values.data(), distances.data(), 999), 1);
    EXPECT_EQ(view.leftCurve()->pointCount(), 2500u);
}

TEST_F(ViewsTest, FallingDistancesInvertTheAxisUntilTheNextClear) {
    CRawDataDlg view{context_};
    auto* bottom = view.chart()->axis(ChartAxisSlot::Bottom);
    const auto distances = ramp(1001, 1500.0, -1.0);  // 1500 m down to 500 m
    const auto values = ramp(1001, 0.0, 0.0);
    view.handlePanelMessage(
        message(core::PanelCode::Profile, values.data(), distances.data(), 1001), 1);
    EXPECT_TRUE(bottom->isInverted());
    view.handlePanelMessage(message(core::PanelCode::Clear, nullptr, nullptr, 0), 0);
    EXPECT_FALSE(bottom->isInverted());
    EXPECT_EQ(view.leftCurve()->pointCount(), 0u);
}

TEST_F(ViewsTest, AxisIntervalsSwitchBetweenFixedAndAutomaticTicks) {
    CRawDataDlg view{context_};
    auto* bottom =
        static_cast<widgets::CChartStandardAxis*>(view.chart()->axis(ChartAxisSlot::Bottom));
    auto* left = static_cast<widgets::CChartStandardAxis*>(view.chart()->axis(ChartAxisSlot::Left));
    view.setAxisInterval(true, 0);
    EXPECT_TRUE(bottom->isTickStepAutomatic());
    view.setAxisInterval(false, 0.25);
    EXPECT_FALSE(left->isTickStepAutomatic());
}

TEST_F(ViewsTest, TheEvaluationShowsEachRailsRatiosAsBars) {
    CEvaluationDlg view{context_};
    EXPECT_EQ(view.limitLine()->pointCount(), 5u);
    const double ratios[4] = {0.0, 2.5, 7.0, 100.0};
    const double bands[4] = {1.0, 2.0, 3.0, 4.0};
    view.handlePanelMessage(message(core::PanelCode::ExceedRatios, ratios, bands, 4), 1);
    view.handlePanelMessage(message(core::PanelCode::ExceedRatios, ratios, bands, 4), 2);
    EXPECT_EQ(view.leftBars()->pointCount(), 4u);
    EXPECT_EQ(view.rightBars()->pointCount(), 4u);
    EXPECT_EQ(view.leftBars()->point(2).Y, 7.0);
    EXPECT_EQ(view.leftBars()->point(2).X, 3.0);
    view.handlePanelMessage(message(core::PanelCode::Clear, nullptr, nullptr, 0), 0);
    EXPECT_EQ(view.leftBars()->pointCount(), 0u);
    EXPECT_EQ(view.limitLine()->pointCount(), 5u);  // the 5 % line stays
}

// A band just under the limit must not hide behind the 5 % line, and each
// bar says its percentage.
TEST_F(ViewsTest, TheLimitLineIsDrawnOverTheBarsAndTheBarsCarryTheirPercentages) {
    CEvaluationDlg view{context_};
    const QSize size(900, 500);
    view.resize(size);
    const double ratios[4] = {4.6, 0.0, 12.5, 0.0};
    const double bands[4] = {1.0, 2.0, 3.0, 4.0};
    view.handlePanelMessage(message(core::PanelCode::ExceedRatios, ratios, bands, 4), 1);
    widgets::ChartRenderer renderer;
    const QImage image = renderer.render(*view.chart(), size);
    if (!qEnvironmentVariableIsEmpty("SUNDREL_TEST_IMAGES")) {
        image.save("evaluation.png");
    }
    const QImage device(size, QImage::Format_ARGB32_Premultiplied);
    const auto layout =
        widgets::ChartLayout::compute(*view.chart(), QRectF(QPoint(0, 0), size), &device);
    const QRectF bar = layout.barRect(*view.leftBars(), view.leftBars()->point(0));
    const int x = static_cast<int>(bar.center().x());
    const int limitY = static_cast<int>(layout.toScreen({1.0, 5.0}).y());
    const QColor onLine = image.pixelColor(x, limitY);
    EXPECT_GT(onLine.red(), 200) << "the limit line crosses the bar";
    EXPECT_LT(onLine.green(), 80);
    const QColor barBelow = image.pixelColor(x, static_cast<int>(bar.bottom()) - 2);
    EXPECT_GT(barBelow.green(), 200) << "the bar shows below the line";
    EXPECT_EQ(view.leftBars()->valueLabel(4.6), QString::fromUtf8("4.6%"));
    // The label: dark text pixels just above the 12.5 % bar.
    const QRectF high = layout.barRect(*view.leftBars(), view.leftBars()->point(2));
    int dark = 0;
    for (int y = static_cast<int>(high.top()) - 16; y < static_cast<int>(high.top()); ++y) {
        for (int px = static_cast<int>(high.left()); px < static_cast<int>(high.right()); ++px) {
            dark += image.pixelColor(px, y).lightness() < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10) << "no percentage above the bar";
}

TEST(OpenDialog, StartsOnTheNewestRecordingOfTheStorageFolder) {
    const sundrel::testing::ScratchFolder scratch;
    const QString folder = QString::fromStdString(scratch.path().string());
    EXPECT_EQ(newestRecording(folder), folder);  // none yet: the folder
    const auto touch = [&](const char* name, int ageSeconds) {
        const std::string path = scratch.file(name);
        std::ofstream(path) << "x";
        std::filesystem::last_write_time(
            path, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
    };
    touch("20261210223000_left.raw", 100);
    touch("20261211010000_right.raw", 10);
    touch("notes.txt", 0);
    EXPECT_EQ(newestRecording(folder),
              QString::fromStdString(scratch.file("20261211010000_right.raw")));
}

TEST_F(ViewsTest, TheAnalysisPageRegistersNineViewsAndShowsEightTabs) {
    core::PanelRegistry& registry = fake_.registry;
    CAnalyseDlg page(context_);
    EXPECT_EQ(page.tabs()->count(), 8);
    EXPECT_EQ(page.tabs()->tabText(0), QString::fromUtf8(" A：原始测量波形 "));
    EXPECT_EQ(page.tabs()->tabText(7), QString::fromUtf8(" I：详细报表 "));
    EXPECT_EQ(page.tabs()->tabPosition(), QTabWidget::South);
    EXPECT_TRUE(page.tabs()->tabBar()->isMovable());
    for (int slot = 24; slot <= 32; ++slot) {
        EXPECT_NE(registry.lookup(static_cast<core::PanelSlot>(slot)), nullptr) << slot;
    }
    EXPECT_NE(dynamic_cast<CFil10_30Dlg*>(registry.lookup(core::PanelSlot::UntabbedWaveformView)),
              nullptr);
}

}  // namespace
}  // namespace sundrel::analysis
