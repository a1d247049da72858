#pragma once

#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::acquisition {

// The measurement control panel (left column, acquisition): start, pause and
// stop of a run of both rails.
class CMeasureCtrlDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CMeasureCtrlDlg(const core::PanelContext&, QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CMeasureCtrlDlg");
    }
};

}  // namespace sundrel::acquisition
