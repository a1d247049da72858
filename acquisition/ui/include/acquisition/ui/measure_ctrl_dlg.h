#pragma once

#include <memory>

#include "acquisition/acquisition_channel.h"
#include "acquisition/run_headers.h"
#include "acquisition/ui/window_channel_host.h"
#include "core/panel.h"
#include "core/panel_context.h"

class QLineEdit;
class QPushButton;

namespace sundrel::acquisition {

// The measurement control panel (left column, acquisition): starts both rails
// from the ribbon's entries and the settings, shows the km-post position the
// left rail has reached, pauses and continues, and stops the run with the
// end position typed into its edit.
class CMeasureCtrlDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CMeasureCtrlDlg(const core::PanelContext& context, QWidget* parent = nullptr);
    ~CMeasureCtrlDlg() override;

    void start();
    void pauseOrContinue();
    void stop();
    void showPosition(std::uint32_t deliveredBytes);

    bool isRunning() const { return active_; }
    bool isPaused() const { return paused_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* pauseButton() const { return pause_; }
    QPushButton* stopButton() const { return stop_; }
    QLineEdit* positionEdit() const { return position_; }
    const AcquisitionChannel& leftChannel() const { return *left_; }
    const AcquisitionChannel& rightChannel() const { return *right_; }

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

    static constexpr const char* kStartPositionText = "0km+0m";

protected:
    void resizeEvent(QResizeEvent* event) override;
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    void writeBackSettings(const RawFileHeader& left, const RawFileHeader& right);
    void showIdle();

    core::PanelContext context_;
    WindowChannelHost host_;  // before the channels: they wait through it
    std::unique_ptr<AcquisitionChannel> left_;
    std::unique_ptr<AcquisitionChannel> right_;
    QPushButton* start_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* stop_ = nullptr;
    QLineEdit* position_ = nullptr;
    bool active_ = false;  // a run was started and not yet stopped
    bool paused_ = false;
    double startPositionM_ = 0;
    bool forward_ = true;
};

}  // namespace sundrel::acquisition
