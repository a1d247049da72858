#pragma once

#include "app/panel.h"

namespace sundrel::analysis {

// The analysis control panel (left column, analysis): opens a recording and
// runs the engine on both rails.
class CAnalyseCtrlDlg : public app::Panel {
    Q_OBJECT
public:
    explicit CAnalyseCtrlDlg(QWidget* parent = nullptr) : Panel(parent) {
        setObjectName("CAnalyseCtrlDlg");
    }
};

}  // namespace sundrel::analysis
