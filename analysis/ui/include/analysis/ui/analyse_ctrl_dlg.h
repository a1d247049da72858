#pragma once

#include <QString>
#include <array>
#include <functional>

#include "analysis/analysis_rules.h"
#include "core/engine_host_window.h"
#include "core/panel.h"
#include "core/panel_context.h"
#include "core/panel_messenger.h"
#include "kestova/kestova.h"

class QTreeWidgetItem;

namespace sundrel::widgets {
class CMyPropertyGridCtrl;
}  // namespace sundrel::widgets

namespace sundrel::analysis {

// Where the open dialog starts: the newest recording (.raw) in the storage
// folder, selected, so that a run just stopped opens at once; the folder
// itself when it holds none.
QString newestRecording(const QString& folder);

// The analysis control panel (left column, analysis): opens a recording,
// checks the ribbon's thresholds, clears the views, runs the engine on the
// chosen file and then on the other rail's file when there is one (telling
// the status bar when there is not), with this panel as the engine's window;
// shows the file information and forwards every other engine message to the
// view that owns it; writes the spreadsheet report on request.
class CAnalyseCtrlDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CAnalyseCtrlDlg(const core::PanelContext& context, QWidget* parent = nullptr);

    // The file dialog; tests and the command line replace it.
    void setFileChooser(std::function<QString()> chooser) { chooseFile_ = std::move(chooser); }
    // What opens a written report; the desktop's default program unless replaced.
    void setReportOpener(std::function<void(const QString&)> opener) {
        openReport_ = std::move(opener);
    }

    void openAndAnalyse();
    // Everything the open command does after its dialog, for a chosen path.
    void analyseFile(const QString& path);
    void exportReport();

    const AnalysisInfoBlock& lastInfo() const { return lastInfo_; }
    widgets::CMyPropertyGridCtrl* grid() const { return grid_; }
    QString infoText(const QString& caption) const;

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;

signals:
    // An axis interval of a waveform view was edited: a step of 0 means
    // automatic ticks. Values in metres (bottom axis) or millimetres (left).
    void axisIntervalChanged(core::PanelSlot view, bool bottomAxis, double step);

private:
    void buildGrid();
    void showAcquisitionInfo(const AnalysisInfoBlock& info);
    void onPropertyChanged(QTreeWidgetItem* item, int value);
    void tellStatusBar(const QString& text);

    core::PanelContext context_;
    core::PanelMessenger& messenger_;
    core::EngineHostWindow host_;
    widgets::CMyPropertyGridCtrl* grid_ = nullptr;
    QTreeWidgetItem* infoGroup_ = nullptr;
    QTreeWidgetItem* waveformGroup_ = nullptr;
    AnalysisInfoBlock lastInfo_{};
    std::function<QString()> chooseFile_;
    std::function<void(const QString&)> openReport_;
};

}  // namespace sundrel::analysis
