// The window thread's cost of one acquisition batch in the real-time
// detection view: decoding the batch, adding its points to the four curves of
// its side, scrolling the display window, and redrawing that side's chart
// (rendered into an image, as an exposed window would be). Batches of
// 100 frames (nDataBytesTrigger 1200) alternate between the rails, and are
// timed once the display window is full, for several window lengths.
//
//   build/release/bench/realtime_bench [batches]
#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/calibration_choice.h"
#include "core/panel_codes.h"
#include "core/panel_context.h"
#include "core/panel_messenger.h"
#include "core/panel_registry.h"
#include "frames/sensor_frame.h"
#include "frames/ui/detect_dlg.h"
#include "widgets/chart_ctrl.h"

namespace {

using namespace sundrel;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kBatchFrames = 100;  // nDataBytesTrigger 1200
constexpr double kLineRateFrames = 960;    // frames per second and rail at line speed
constexpr double kWalkingFrames = 70;      // frames per second and rail on foot

class NoRibbon : public core::RibbonControls {
public:
    QString text(int) const override { return {}; }
    bool isChecked(int) const override { return false; }
};

class NoStatus : public core::StatusSink {
public:
    void showStatus(const QString&, int) override {}
    void showProgress(int) override {}
};

// Sensor words of a rail with some corrugation on it: a few hundred counts of
// ripple over a working point.
std::vector<std::uint8_t> batchBytes(frames::RailSide side, std::size_t first) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kBatchFrames * frames::kFrameSize);
    for (std::size_t i = first; i < first + kBatchFrames; ++i) {
        frames::SensorWords words{};
        const double x = static_cast<double>(i) * 0.02;  // m
        for (std::size_t k = 0; k < frames::kSensorCount; ++k) {
            const double sensor = static_cast<double>(k);
            words[k] = static_cast<std::uint16_t>(20000 + 3000 * sensor +
                                                  400 * std::sin(x * 9.0 + sensor) +
                                                  150 * std::sin(x * 61.0));
        }
        const auto frame = frames::makeFrame(side, words);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

struct Cost {
    double handleMs = 0;  // handler only: decode, add, scroll
    double totalMs = 0;   // handler and the chart's redraw
    double worstMs = 0;
};

Cost measure(std::int32_t window, int timedBatches) {
    core::PanelRegistry registry;
    core::PanelMessenger messenger(registry);
    core::SettingsRecord settings{};
    settings.dEncoder = 0.02;
    settings.nSerialReserveData = window;
    settings.dXmin = 0;
    settings.dXmax = 20;
    settings.dYmax = 2;
    for (int k = 0; k < 4; ++k) {
        settings.leftEddy[k].slope = 0.0003;  // 6 to 9 mm: on the chart (0..10)
        settings.rightEddy[k].slope = 0.0003;
    }
    NoRibbon ribbon;
    core::CalibrationChoice calibration;
    NoStatus status;
    const std::string configPath;
    const core::PanelContext context{messenger, settings, ribbon, calibration, status, configPath};

    frames::CDetcetDlg view(context);
    view.resize(1600, 900);
    view.handlePanelMessage({static_cast<std::uintptr_t>(core::PanelCode::Clear), 0, 0, 0}, 0);

    std::size_t next[3] = {0, 0, 0};
    auto deliver = [&](frames::RailSide side, bool timed, Cost& cost) {
        std::vector<std::uint8_t> bytes = batchBytes(side, next[static_cast<int>(side)]);
        next[static_cast<int>(side)] += kBatchFrames;
        const core::PanelMessage batch{
            static_cast<std::uintptr_t>(core::PanelCode::AcquisitionBatch),
            reinterpret_cast<std::uintptr_t>(bytes.data()), 0, bytes.size()};
        const auto start = Clock::now();
        view.handlePanelMessage(batch, static_cast<std::intptr_t>(side));
        const auto handled = Clock::now();
        const QPixmap picture = view.chart(side)->grab();
        const auto drawn = Clock::now();
        if (timed) {
            const double handle =
                std::chrono::duration<double, std::milli>(handled - start).count();
            const double total = std::chrono::duration<double, std::milli>(drawn - start).count();
            cost.handleMs += handle;
            cost.totalMs += total;
            cost.worstMs = std::max(cost.worstMs, total);
        }
        return picture.width();
    };

    Cost cost;
    // Fill both windows (and a little more) before timing.
    const std::size_t fill = static_cast<std::size_t>(window) / kBatchFrames + 2;
    for (std::size_t b = 0; b < fill; ++b) {
        deliver(frames::RailSide::Left, false, cost);
        deliver(frames::RailSide::Right, false, cost);
    }
    for (int b = 0; b < timedBatches; ++b) {
        deliver(b % 2 == 0 ? frames::RailSide::Left : frames::RailSide::Right, true, cost);
    }
    cost.handleMs /= timedBatches;
    cost.totalMs /= timedBatches;
    return cost;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int batches = argc > 1 ? std::max(2, std::atoi(argv[1])) : 200;

    // Batches per second over both rails.
    const double lineRate = 2 * kLineRateFrames / kBatchFrames;
    const double walking = 2 * kWalkingFrames / kBatchFrames;
    std::printf("view 1600x900 (two charts 1600x448), %zu frames per batch, %d batches timed\n",
                kBatchFrames, batches);
    std::printf("%-10s %12s %14s %10s %20s %20s\n", "window", "handler ms", "+ redraw ms",
                "worst ms", "share at line rate", "share walking");
    for (const std::int32_t window : {1000, 5000, 20000, 80000}) {
        const Cost cost = measure(window, batches);
        std::printf("%-10d %12.3f %14.3f %10.3f %12.1f %% (%4.1f/s) %12.2f %% (%4.1f/s)\n", window,
                    cost.handleMs, cost.totalMs, cost.worstMs, cost.totalMs * lineRate / 10.0,
                    lineRate, cost.totalMs * walking / 10.0, walking);
    }
    return 0;
}
