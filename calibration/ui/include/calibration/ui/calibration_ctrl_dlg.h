#pragma once

#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::calibration {

// The calibration control panel (left column, calibration): connect, capture
// and finish a sensor's calibration.
class CCalibrationCtrlDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CCalibrationCtrlDlg(const core::PanelContext&, QWidget* parent = nullptr)
        : Panel(parent) {
        setObjectName("CCalibrationCtrlDlg");
    }
};

}  // namespace sundrel::calibration
