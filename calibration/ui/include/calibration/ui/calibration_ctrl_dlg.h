#pragma once

#include <memory>
#include <optional>

#include "calibration/ui/calibration_dlg.h"
#include "core/panel.h"
#include "core/panel_context.h"
#include "platform/serial_port.h"

class QPushButton;

namespace sundrel::calibration {

// The calibration control panel (left column, calibration): connects both
// boxes in calibration mode, asks them for a reading at the distance on the
// ribbon (确认), removes the last reading, stores the fitted line into the
// settings (完成) and disconnects.
class CCalibrationCtrlDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CCalibrationCtrlDlg(const core::PanelContext& context, QWidget* parent = nullptr);
    ~CCalibrationCtrlDlg() override;

    void connectBoxes();
    void confirm();
    void removeLast();
    void finish();
    void disconnectBoxes();

    bool isConnected() const { return connected_; }
    const CapturedTarget& captured() const { return captured_; }
    QPushButton* connectButton() const { return connect_; }
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* finishButton() const { return finish_; }
    QPushButton* disconnectButton() const { return disconnect_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    struct Link;
    bool openLink(Link& link, int port, bool reportAndStop);
    void closeLinks();
    void showConnected(bool connected);
    CCalibrationDlg* view() const;

    core::PanelContext context_;
    std::unique_ptr<Link> left_;
    std::unique_ptr<Link> right_;
    QPushButton* confirm_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* finish_ = nullptr;
    QPushButton* connect_ = nullptr;
    QPushButton* disconnect_ = nullptr;
    bool connected_ = false;
    CapturedTarget captured_;
    std::optional<CapturedTarget> previous_;  // from the first 确认 on
};

}  // namespace sundrel::calibration
