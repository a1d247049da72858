// Time to paint a chart into an offscreen image, to scroll a long curve
// the way the real-time view does (append a batch, remove as many from the
// front), and to redraw a 10 km pair of waveforms at any zoom while panning.
//
//   build/release/bench/chart_bench [runs] [only]   (only: cases whose text contains it)
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numeric>
#include <vector>

#include "best_time.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_renderer.h"

namespace {

using sundrel::bench::bestMs;

using Clock = std::chrono::steady_clock;
using namespace sundrel::widgets;

// A chart as the views build it: title, two axes with titles, legend at the
// bottom, `curves` curves of `points` points each over 0..20 m.
void buildChart(CChartCtrl& chart, int curves, std::size_t points, bool smooth, int width) {
    chart.suspendRedraws();
    chart.setEdgeStyle(8);
    chart.setBorderColor(QColor(0, 199, 140));
    chart.setBackgroundColor(QColor(224, 241, 252));
    chart.title()->addLine(QStringLiteral("左 轨 实 时 测 量 数 据"));
    chart.title()->setFont(QStringLiteral("微软雅黑"), 120, false, false, false);
    auto* bottom = chart.createStandardAxis(ChartAxisSlot::Bottom);
    bottom->setRange(0.0, 20.0);
    bottom->setTickStep(4.0);
    bottom->title()->setText(QStringLiteral("运行距离/m"));
    auto* left = chart.createStandardAxis(ChartAxisSlot::Left);
    left->setRange(0.0, 10.0);
    left->title()->setText(QStringLiteral("距离/mm"));
    std::vector<double> x(points);
    std::vector<double> y(points);
    for (int k = 0; k < curves; ++k) {
        auto* curve = chart.createLineSerie();
        curve->setPointOrdering(ChartPointOrdering::None);
        curve->setName(QStringLiteral("传感器%1#").arg(k + 1));
        curve->setColor(QColor::fromHsv(k * 45, 255, 220));
        curve->setLineWidth(width);
        curve->setSmooth(smooth);
        for (std::size_t i = 0; i < points; ++i) {
            x[i] = 20.0 * static_cast<double>(i) / static_cast<double>(points - 1);
            y[i] = 1.0 + k + 0.3 * std::sin(x[i] * 7.0 + k) + 0.1 * std::sin(x[i] * 53.0);
        }
        curve->addPoints(x.data(), y.data(), points);
    }
    chart.legend()->setVisible(true);
    chart.legend()->dock(ChartDockSide::Bottom);
    chart.legend()->setHorizontal(true);
    chart.resumeRedraws();
}

const char* only = nullptr;

bool selected(const char* what) {
    return only == nullptr || std::strstr(what, only) != nullptr;
}

void benchRender(const char* what, int curves, std::size_t points, bool smooth, int width,
                 int runs) {
    char title[160];
    std::snprintf(title, sizeof title, "render 1600x900, %d curves x %zu points, %s", curves,
                  points, what);
    if (!selected(title)) {
        return;
    }
    CChartCtrl chart;
    buildChart(chart, curves, points, smooth, width);
    QImage image(1600, 900, QImage::Format_ARGB32_Premultiplied);
    ChartRenderer renderer;
    const double ms = bestMs(
        [&] {
            QPainter painter(&image);
            renderer.paint(chart, painter, image.rect());
        },
        runs);
    std::printf("%s: %.2f ms\n", title, ms);
}

void benchScroll(std::size_t length, std::size_t batch, int batches) {
    if (!selected("scroll")) {
        return;
    }
    CChartCtrl chart;
    auto* curve = chart.createLineSerie();
    curve->setPointOrdering(ChartPointOrdering::None);
    std::vector<double> x(length);
    std::iota(x.begin(), x.end(), 0.0);
    curve->addPoints(x.data(), x.data(), length);
    std::vector<double> bx(batch);
    double next = static_cast<double>(length);
    double worst = 0.0;
    const auto start = Clock::now();
    for (int b = 0; b < batches; ++b) {
        std::iota(bx.begin(), bx.end(), next);
        next += static_cast<double>(batch);
        const auto one = Clock::now();
        chart.suspendRedraws();
        curve->addPoints(bx.data(), bx.data(), batch);
        curve->removeFirstPoints(batch);
        chart.resumeRedraws();
        worst =
            std::max(worst, std::chrono::duration<double, std::micro>(Clock::now() - one).count());
    }
    const double total = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    std::printf(
        "scroll %zu-point curve by %zu: %.2f us per batch on average (worst %.1f us), "
        "%.0f points moved per batch\n",
        length, batch, total / batches, worst, static_cast<double>(curve->movedPoints()) / batches);
}

// A waveform view's pair of rails over 10 km, a sample every 10 mm: 70 mm
// corrugation on a long wave. Each range is drawn at several pan offsets.
void benchWaveformZoom(int runs) {
    if (!selected("waveform")) {
        return;
    }
    constexpr std::size_t kSamples = 1000001;
    CChartCtrl chart;
    buildChart(chart, 0, 2, false, 3);
    chart.suspendRedraws();
    std::vector<double> x(kSamples);
    std::vector<double> y(kSamples);
    for (int rail = 0; rail < 2; ++rail) {
        for (std::size_t i = 0; i < kSamples; ++i) {
            x[i] = 0.01 * static_cast<double>(i);
            y[i] = 5.0 + rail + 0.1 * std::sin(x[i] * 2.0 * M_PI / 0.07) +
                   1.5 * std::sin(x[i] * 2.0 * M_PI / 1700.0);
        }
        auto* curve = chart.createLineSerie();
        curve->setPointOrdering(ChartPointOrdering::None);
        curve->setColor(rail == 0 ? QColor(255, 0, 0) : QColor(0, 0, 255));
        curve->setLineWidth(3);
        curve->addPoints(x.data(), y.data(), kSamples);
    }
    chart.resumeRedraws();
    CChartAxis* bottom = chart.axis(ChartAxisSlot::Bottom);
    QImage image(1600, 900, QImage::Format_ARGB32_Premultiplied);
    ChartRenderer renderer;
    for (const double span : {10000.0, 1000.0, 100.0, 10.0, 2.0}) {
        double worst = 0.0;
        double sum = 0.0;
        int count = 0;
        for (const double from : {0.0, 2345.6, 5000.0, 9990.0 - span}) {
            const double start = std::max(0.0, std::min(from, 10000.0 - span));
            bottom->setRange(start, start + span);
            const double ms = bestMs(
                [&] {
                    QPainter painter(&image);
                    renderer.paint(chart, painter, image.rect());
                },
                runs);
            worst = std::max(worst, ms);
            sum += ms;
            ++count;
        }
        std::printf("waveform pair 2 x %zu samples, range %6.0f m: %.2f ms average, %.2f worst\n",
                    kSamples, span, sum / count, worst);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    only = argc > 2 ? argv[2] : nullptr;

    benchRender("no points", 8, 2, false, 3, runs);
    benchRender("straight, 3 px", 8, 1000, false, 3, runs);
    benchRender("smoothed, 3 px", 8, 1000, true, 3, runs);
    benchRender("straight, 1 px", 8, 1000, false, 1, runs);
    benchRender("straight, 3 px", 4, 10000, false, 3, runs);
    benchRender("smoothed, 3 px", 2, 50000, true, 3, runs);

    benchWaveformZoom(std::min(runs, 10));

    benchScroll(10000, 500, 20000);
    benchScroll(100000, 500, 2000);
    benchScroll(10000, 50, 20000);
    return 0;
}
