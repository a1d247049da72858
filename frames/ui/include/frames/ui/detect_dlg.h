#pragma once

#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::frames {

// The real-time detection page (" 采集 "): the four sensors of each rail
// against running distance.
class CDetcetDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CDetcetDlg(const core::PanelContext&, QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CDetcetDlg");
    }
};

}  // namespace sundrel::frames
