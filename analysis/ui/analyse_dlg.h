#pragma once

#include <array>

#include "app/panel.h"
#include "app/panel_messenger.h"

class QTabWidget;

namespace sundrel::analysis {

// The analysis page (" 分析 "): a tab control along the bottom holding the
// analysis views, registered in slots 24 to 32 as they are created.
class CAnalyseDlg : public app::Panel {
    Q_OBJECT
public:
    CAnalyseDlg(app::PanelRegistry& registry, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    app::Panel* view(app::PanelSlot slot) const;

private:
    QTabWidget* tabs_;
    std::array<app::Panel*, 9> views_{};
};

}  // namespace sundrel::analysis
