#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/panel.h"
#include "core/panel_context.h"
#include "core/settings_record.h"
#include "frames/realtime_blocks.h"
#include "frames/sensor_frame.h"

class QResizeEvent;

namespace sundrel::widgets {
class CChartCtrl;
class CChartLineSerie;
class CChartStandardAxis;
}  // namespace sundrel::widgets

namespace sundrel::frames {

// The real-time detection page (" 采集 "): the four sensors of each rail
// against running distance, the left rail on top, the right rail below.
// Batches of raw bytes arrive with code 4 (lparam: the side), a measurement
// starts with code 5, which clears both charts and re-reads the settings, and
// code 7 leaves everything displayed. Each chart keeps the most recent
// nSerialReserveData frames of its side once the side has sent more.
class CDetcetDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CDetcetDlg(const core::PanelContext& context, QWidget* parent = nullptr);

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

    // Left or Right; nullptr for any other side.
    widgets::CChartCtrl* chart(RailSide side) const;
    // The curve of sensor `sensor` + 1 (sensor < 4) of a side's chart.
    widgets::CChartLineSerie* curve(RailSide side, std::size_t sensor) const;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct SideChart {
        widgets::CChartCtrl* chart = nullptr;
        std::array<widgets::CChartLineSerie*, kSensorCount> curves{};
    };

    SideChart buildChart(const char* title);
    void takeSettingsSnapshot();
    void startMeasurement();
    void showBatch(RailSide side, const std::uint8_t* bytes, std::size_t count);
    void showBlock(SideChart& side, const RealtimeBlock& block);
    void resetAxes(const SideChart& side);
    static widgets::CChartStandardAxis* bottomAxis(const SideChart& side);
    static widgets::CChartStandardAxis* leftAxis(const SideChart& side);

    const core::SettingsRecord& settings_;
    core::SettingsRecord snapshot_{};
    RealtimeBlocks blocks_;
    SideChart left_;
    SideChart right_;
};

}  // namespace sundrel::frames
