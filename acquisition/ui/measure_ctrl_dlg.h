#pragma once

#include "app/panel.h"

namespace sundrel::acquisition {

// The measurement control panel (left column, acquisition): start, pause and
// stop of a run of both rails.
class CMeasureCtrlDlg : public app::Panel {
    Q_OBJECT
public:
    explicit CMeasureCtrlDlg(QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CMeasureCtrlDlg");
    }
};

}  // namespace sundrel::acquisition
