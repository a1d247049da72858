// What a waveform view draws of a long record: the true amplitude band of
// the signal in every pixel column, and zoomed in, every sample.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis/ui/waveform_view.h"
#include "test_support/fake_panel_context.h"
#include "widgets/chart_axis.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"
#include "widgets/chart_renderer.h"

namespace sundrel::analysis {
namespace {

constexpr double kSpacing = 0.01;          // m between samples
constexpr double kWavelength = 0.07;       // m: short-pitch corrugation
constexpr double kAmplitude = 0.1;         // mm
constexpr std::size_t kSamples = 1000001;  // 10 km
const QSize kImageSize(1200, 500);

bool blueish(QRgb pixel) {
    return qBlue(pixel) > 160 && qRed(pixel) < 120 && qGreen(pixel) < 120;
}

class WaveformEnvelopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        view_.chart()->axis(widgets::ChartAxisSlot::Left)->setRange(-0.3, 0.3);
        distances_.resize(kSamples);
        values_.resize(kSamples);
        for (std::size_t i = 0; i < kSamples; ++i) {
            distances_[i] = static_cast<double>(i) * kSpacing;
            values_[i] = kAmplitude * std::sin(2.0 * M_PI * distances_[i] / kWavelength);
        }
        view_.resize(kImageSize);
        // The right rail, drawn blue: no threshold line shares its colour.
        view_.plotWaveform(values_.data(), distances_.data(), kSamples, 2);
    }

    QImage render() { return renderer_.render(*view_.chart(), kImageSize); }
    widgets::ChartLayout layout() {
        const QImage device(kImageSize, QImage::Format_ARGB32_Premultiplied);
        return widgets::ChartLayout::compute(*view_.chart(), QRectF(QPoint(0, 0), kImageSize),
                                             &device);
    }

    sundrel::testing::FakePanelContext fake_;
    CFil30_100Dlg view_{fake_.context};
    widgets::ChartRenderer renderer_;
    std::vector<double> distances_;
    std::vector<double> values_;
};

TEST_F(WaveformEnvelopeTest, EveryColumnOfTheOverviewSpansTheCorrugation) {
    const QImage image = render();
    if (!qEnvironmentVariableIsEmpty("SUNDREL_TEST_IMAGES")) {
        image.save("overview.png");
    }
    const widgets::ChartLayout at = layout();
    const double top = at.toScreen({0.0, kAmplitude}).y();
    const double bottom = at.toScreen({0.0, -kAmplitude}).y();
    const double truePeakToPeak = bottom - top;
    ASSERT_GT(truePeakToPeak, 40.0) << "the test needs a tall enough band";
    const QRect plot = at.plot.toAlignedRect().adjusted(4, 4, -4, -4);
    for (int x = plot.left(); x <= plot.right(); ++x) {
        int first = -1;
        int last = -1;
        for (int y = plot.top(); y <= plot.bottom(); ++y) {
            if (blueish(image.pixel(x, y))) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
        ASSERT_GE(first, 0) << "column " << x << " shows no curve";
        ASSERT_GE(last - first + 1, 0.8 * truePeakToPeak) << "column " << x;
        ASSERT_LE(last - first + 1, truePeakToPeak + 6) << "column " << x;
    }
}

TEST_F(WaveformEnvelopeTest, ZoomedToTwoMetresTheCurvePassesThroughEverySample) {
    auto* bottom = view_.chart()->axis(widgets::ChartAxisSlot::Bottom);
    bottom->setRange(5000.0, 5002.0);
    const QImage image = render();
    const widgets::ChartLayout at = layout();
    if (!qEnvironmentVariableIsEmpty("SUNDREL_TEST_IMAGES")) {
        image.save("zoomed.png");
    }
    for (std::size_t i = 500001; i < 500200; ++i) {  // inside the plot
        const QPoint p = at.toScreen({distances_[i], values_[i]}).toPoint();
        ASSERT_TRUE(blueish(image.pixel(p))) << "sample " << i << " at " << p.x() << "," << p.y();
    }
    // Straight lines between them: halfway between two samples of a steep
    // stretch the curve is at the mean of the two, not above or below it.
    const std::size_t i = 500003;  // between 0.3 and 0.4 of a period: steep
    const double x = (distances_[i] + distances_[i + 1]) / 2;
    const double y = (values_[i] + values_[i + 1]) / 2;
    EXPECT_TRUE(blueish(image.pixel(at.toScreen({x, y}).toPoint())));
}

// Hovering: a crosshair, and the position with both rails' values on the
// status bar (only the right rail holds data here).
TEST_F(WaveformEnvelopeTest, HoveringShowsACrosshairAndTheValuesUnderIt) {
    auto* bottom = view_.chart()->axis(widgets::ChartAxisSlot::Bottom);
    bottom->setRange(5000.0, 5002.0);
    view_.chart()->resize(kImageSize);  // as laid out in a shown view
    const widgets::ChartLayout at = layout();
    const std::size_t sample = 500101;  // 5001.01 m
    const QPointF over = at.toScreen({distances_[sample], 0.0});
    QMouseEvent move(QEvent::MouseMove, over, view_.chart()->mapToGlobal(over), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view_.chart(), &move);
    ASSERT_TRUE(view_.chart()->crosshairPosition().has_value());
    ASSERT_FALSE(fake_.status.readouts.empty());
    char value[32];
    std::snprintf(value, sizeof value, "%.3fmm", values_[sample]);
    EXPECT_EQ(fake_.status.readouts.back(),
              QString::fromUtf8("位置：5km+1.01m    右轨：") + QString::fromUtf8(value));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view_.chart(), &leave);
    EXPECT_FALSE(view_.chart()->crosshairPosition().has_value());
    EXPECT_EQ(fake_.status.readouts.back(), QString()) << "the readout goes with the cursor";
}

}  // namespace
}  // namespace sundrel::analysis
