#pragma once

#include "app/panel.h"

namespace sundrel::calibration {

// The calibration control panel (left column, calibration): connect, capture
// and finish a sensor's calibration.
class CCalibrationCtrlDlg : public app::Panel {
    Q_OBJECT
public:
    explicit CCalibrationCtrlDlg(QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CCalibrationCtrlDlg");
    }
};

}  // namespace sundrel::calibration
