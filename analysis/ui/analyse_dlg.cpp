#include "analysis/ui/analyse_dlg.h"

#include "analysis/ui/detail_report.h"
#include "analysis/ui/evaluation_dlg.h"
#include "analysis/ui/waveform_view.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace sundrel::analysis {
namespace {

using app::PanelSlot;

struct ViewEntry {
    PanelSlot slot;
    const char* label;  // nullptr: the view gets no tab
};

// In creation order.
constexpr std::array<ViewEntry, 9> kViews = {{
    {PanelSlot::RawWaveformView, " A：原始测量波形 "},
    {PanelSlot::UntabbedWaveformView, nullptr},
    {PanelSlot::Band30To100View, " C：30-100mm滤波波形 "},
    {PanelSlot::Band100To300View, " D：100-300mm滤波波形 "},
    {PanelSlot::Band300To1000View, " E：300-1000mm滤波波形 "},
    {PanelSlot::Band1000To3000View, " F：1000-3000mm滤波波形 "},
    {PanelSlot::TrackHighLowView, " G：轨道高低波形 "},
    {PanelSlot::EvaluationView, " H：线路评估 "},
    {PanelSlot::DetailedReport, " I：详细报表 "},
}};

app::Panel* createView(PanelSlot slot, QWidget* parent) {
    switch (slot) {
        case PanelSlot::RawWaveformView:
            return new CRawDataDlg(parent);
        case PanelSlot::UntabbedWaveformView:
            return new CFil10_30Dlg(parent);
        case PanelSlot::Band30To100View:
            return new CFil30_100Dlg(parent);
        case PanelSlot::Band100To300View:
            return new CFil100_300Dlg(parent);
        case PanelSlot::Band300To1000View:
            return new CFil300_1000Dlg(parent);
        case PanelSlot::Band1000To3000View:
            return new CFil1000_3000Dlg(parent);
        case PanelSlot::TrackHighLowView:
            return new CRailHighLowDlg(parent);
        case PanelSlot::EvaluationView:
            return new CEvaluationDlg(parent);
        default:
            return new CCDetailReport(parent);
    }
}

}  // namespace

CAnalyseDlg::CAnalyseDlg(app::PanelRegistry& registry, QWidget* parent) : Panel(parent) {
    setObjectName("CAnalyseDlg");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setMovable(true);  // a tab dragged onto another swaps places with it
    // The active tab in red with its label in bold yellow.
    tabs_->setStyleSheet(QStringLiteral(
        "QTabBar::tab:selected { background: rgb(255, 0, 0); color: rgb(255, 255, 0);"
        " font-weight: bold; }"));
    layout->addWidget(tabs_);
    for (std::size_t i = 0; i < kViews.size(); ++i) {
        app::Panel* view = createView(kViews[i].slot, tabs_);
        view->hide();
        registry.registerPanel(kViews[i].slot, view);
        views_[i] = view;
    }
    for (std::size_t i = 0; i < kViews.size(); ++i) {
        if (kViews[i].label != nullptr) {
            tabs_->addTab(views_[i], QString::fromUtf8(kViews[i].label));
        }
    }
}

app::Panel* CAnalyseDlg::view(PanelSlot slot) const {
    for (std::size_t i = 0; i < kViews.size(); ++i) {
        if (kViews[i].slot == slot) {
            return views_[i];
        }
    }
    return nullptr;
}

}  // namespace sundrel::analysis
