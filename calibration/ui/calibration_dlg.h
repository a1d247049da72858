#pragma once

#include "app/panel.h"

namespace sundrel::calibration {

// The calibration page (" 标定 "): readings against distance and their fit.
class CCalibrationDlg : public app::Panel {
    Q_OBJECT
public:
    explicit CCalibrationDlg(QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CCalibrationDlg");
    }
};

}  // namespace sundrel::calibration
