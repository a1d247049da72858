#pragma once

#include <QTabWidget>

#include "app/panel.h"

namespace sundrel::app {

class PanelMessenger;

// The pages' tab control: " 采集 ", " 分析 ", " 标定 ".
class CMyTabCtrl : public QTabWidget, public PanelReceiver {
    Q_OBJECT
public:
    explicit CMyTabCtrl(QWidget* parent = nullptr);
    void handlePanelMessage(const PanelMessage&, std::intptr_t) override {}
};

// The right column: the tab control with the three pages. A tab the user
// picks switches the left column and the ribbon (code 1); code 1 from the
// ribbon switches the tab.
class CRightView : public Panel {
    Q_OBJECT
public:
    explicit CRightView(PanelMessenger& messenger, QWidget* parent = nullptr);

    CMyTabCtrl* tabs() const { return tabs_; }
    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override;

private:
    PanelMessenger& messenger_;
    CMyTabCtrl* tabs_;
    bool switching_ = false;  // a code 1 is being applied: no code 1 back
};

}  // namespace sundrel::app
