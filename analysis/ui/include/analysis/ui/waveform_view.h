#pragma once

#include <QStringList>
#include <array>

#include "core/panel.h"
#include "core/panel_context.h"
#include "core/settings_record.h"

namespace sundrel::widgets {
class CChartCtrl;
class CChartLineSerie;
class CChartStandardAxis;
}  // namespace sundrel::widgets

namespace sundrel::analysis {

// What sets one waveform view apart from the others of its family.
struct WaveformTraits {
    const char* name;
    QStringList titleLines;
    core::PanelCode dataCode;  // PanelCode{0}: the view receives no data
    bool thresholdLines;
};

// A chart of one signal of both rails against running distance: the left
// rail red, the right rail blue, and for the band views the green and red
// threshold-line pairs. One construction for the whole family; each class
// below keeps its name and its row of the family table.
class WaveformView : public core::Panel {
    Q_OBJECT
public:
    WaveformView(const core::PanelContext& context, const WaveformTraits& traits,
                 QWidget* parent = nullptr);

    // step > 0: fixed ticks of that step (m or mm); 0: automatic ticks.
    void setAxisInterval(bool bottomAxis, double step);
    // Shows the distances fromMetres..toMetres on the bottom axis, as if the
    // run covered just them (a double click comes back to them); both
    // finite, fromMetres < toMetres, else nothing changes.
    void setVisibleRange(double fromMetres, double toMetres);
    void clearView();
    void plotWaveform(const double* values, const double* distances, std::size_t count,
                      std::intptr_t side);

    widgets::CChartCtrl* chart() const { return chart_; }
    widgets::CChartLineSerie* leftCurve() const { return left_; }
    widgets::CChartLineSerie* rightCurve() const { return right_; }
    widgets::CChartLineSerie* thresholdLine(std::size_t index) const { return lines_[index]; }

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    void buildChart();
    // The crosshair's readout on the status bar: position and both rails' values.
    void showReadout(double position);
    widgets::CChartStandardAxis* bottomAxis() const;
    widgets::CChartStandardAxis* leftAxis() const;

    WaveformTraits traits_;
    const core::SettingsRecord& settings_;  // the program's, for the threshold lines
    core::StatusSink& status_;
    core::SettingsRecord snapshot_{};
    widgets::CChartCtrl* chart_ = nullptr;
    widgets::CChartLineSerie* left_ = nullptr;
    widgets::CChartLineSerie* right_ = nullptr;
    std::array<widgets::CChartLineSerie*, 4> lines_{};
};

class CRawDataDlg : public WaveformView {
    Q_OBJECT
public:
    explicit CRawDataDlg(const core::PanelContext& context, QWidget* parent = nullptr);
};
class CFil10_30Dlg : public WaveformView {
    Q_OBJECT
public:
    explicit CFil10_30Dlg(const core::PanelContext& context, QWidget* parent = nullptr);
};
class CFil30_100Dlg : public WaveformView {
    Q_OBJECT
public:
    explicit CFil30_100Dlg(const core::PanelContext& context, QWidget* parent = nullptr);
};
class CFil100_300Dlg : public WaveformView {
    Q_OBJECT
public:
    explicit CFil100_300Dlg(const core::PanelContext& context, QWidget* parent = nullptr);
};
class CFil300_1000Dlg : public WaveformView {
    Q_OBJECT
public:
    explicit CFil300_1000Dlg(const core::PanelContext& context, QWidget* parent = nullptr);
};
class CFil1000_3000Dlg : public WaveformView {
    Q_OBJECT
public:
    explicit CFil1000_3000Dlg(const core::PanelContext& context, QWidget* parent = nullptr);
};
class CRailHighLowDlg : public WaveformView {
    Q_OBJECT
public:
    explicit CRailHighLowDlg(const core::PanelContext& context, QWidget* parent = nullptr);
};

}  // namespace sundrel::analysis
