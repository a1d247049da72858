#pragma once

#include <QString>
#include <array>

#include "core/panel.h"
#include "core/panel_context.h"
#include "core/panel_messenger.h"

class QTabWidget;

namespace sundrel::analysis {

// The letters of the analysis tabs in tab order, as their labels begin:
// "ACDEFGHI" (there is no B).
QString analysisTabLetters();

// The analysis page (" 分析 "): a tab control along the bottom holding the
// analysis views, registered in slots 24 to 32 as they are created.
class CAnalyseDlg : public core::Panel {
    Q_OBJECT
public:
    CAnalyseDlg(const core::PanelContext& context, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    core::Panel* view(core::PanelSlot slot) const;

    // Makes the tab of that letter (see analysisTabLetters) the current one;
    // false for a letter without a tab.
    bool showTab(QChar letter);
    // Shows the distances fromMetres..toMetres in every waveform view.
    void setVisibleRange(double fromMetres, double toMetres);

private:
    QTabWidget* tabs_;
    std::array<core::Panel*, 9> views_{};
};

}  // namespace sundrel::analysis
