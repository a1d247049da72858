#pragma once

#include "app/panel.h"

namespace sundrel::frames {

// The real-time detection page (" 采集 "): the four sensors of each rail
// against running distance.
class CDetcetDlg : public app::Panel {
    Q_OBJECT
public:
    explicit CDetcetDlg(QWidget* parent = nullptr) : Panel(parent) { setObjectName("CDetcetDlg"); }
};

}  // namespace sundrel::frames
