#pragma once

#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::calibration {

// The calibration page (" 标定 "): readings against distance and their fit.
class CCalibrationDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CCalibrationDlg(const core::PanelContext&, QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CCalibrationDlg");
    }
};

}  // namespace sundrel::calibration
