#pragma once

#include <array>

#include "core/panel.h"
#include "core/panel_context.h"
#include "core/panel_messenger.h"

class QTabWidget;

namespace sundrel::analysis {

// The analysis page (" 分析 "): a tab control along the bottom holding the
// analysis views, registered in slots 24 to 32 as they are created.
class CAnalyseDlg : public core::Panel {
    Q_OBJECT
public:
    CAnalyseDlg(const core::PanelContext& context, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    core::Panel* view(core::PanelSlot slot) const;

private:
    QTabWidget* tabs_;
    std::array<core::Panel*, 9> views_{};
};

}  // namespace sundrel::analysis
