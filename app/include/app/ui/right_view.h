#pragma once

#include <QTabWidget>

#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::app {

// The pages' tab control: " 采集 ", " 分析 ", " 标定 ".
class CMyTabCtrl : public QTabWidget, public core::PanelReceiver {
    Q_OBJECT
public:
    explicit CMyTabCtrl(QWidget* parent = nullptr);
    void handlePanelMessage(const core::PanelMessage&, std::intptr_t) override {}
};

// The right column: the tab control with the three pages. A tab the user
// picks switches the left column and the ribbon (code 1); code 1 from the
// ribbon switches the tab.
class CRightView : public core::Panel {
    Q_OBJECT
public:
    explicit CRightView(const core::PanelContext& context, QWidget* parent = nullptr);

    CMyTabCtrl* tabs() const { return tabs_; }
    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

private:
    core::PanelMessenger& messenger_;
    CMyTabCtrl* tabs_;
    bool switching_ = false;  // a code 1 is being applied: no code 1 back
};

}  // namespace sundrel::app
