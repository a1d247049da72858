#include "analysis/ui/analyse_dlg.h"

#include "analysis/ui/detail_report.h"
#include "analysis/ui/evaluation_dlg.h"
#include "analysis/ui/waveform_view.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace sundrel::analysis {
namespace {

using core::PanelSlot;

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

core::Panel* createView(PanelSlot slot, const core::PanelContext& context, QWidget* parent) {
    switch (slot) {
        case PanelSlot::RawWaveformView:
            return new CRawDataDlg(context, parent);
        case PanelSlot::UntabbedWaveformView:
            return new CFil10_30Dlg(context, parent);
        case PanelSlot::Band30To100View:
            return new CFil30_100Dlg(context, parent);
        case PanelSlot::Band100To300View:
            return new CFil100_300Dlg(context, parent);
        case PanelSlot::Band300To1000View:
            return new CFil300_1000Dlg(context, parent);
        case PanelSlot::Band1000To3000View:
            return new CFil1000_3000Dlg(context, parent);
        case PanelSlot::TrackHighLowView:
            return new CRailHighLowDlg(context, parent);
        case PanelSlot::EvaluationView:
            return new CEvaluationDlg(context, parent);
        default:
            return new CCDetailReport(context, parent);
    }
}

}  // namespace

CAnalyseDlg::CAnalyseDlg(const core::PanelContext& context, QWidget* parent) : Panel(parent) {
    core::PanelRegistry& registry = context.messenger.registry();
    setObjectName("CAnalyseDlg");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setMovable(true);  // a tab dragged onto another swaps places with it
    // All eight labels in full side by side from a window of 1280 pixels on:
    // no padding beside the labels, which begin and end with a space anyway.
    // A narrower window scrolls the tabs rather than shortening the labels.
    tabs_->setElideMode(Qt::ElideNone);
    // The active tab in red with its label in bold yellow.
    tabs_->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 0px; }"
        "QTabBar::tab:selected { background: rgb(255, 0, 0); color: rgb(255, 255, 0);"
        " font-weight: bold; }"));
    layout->addWidget(tabs_);
    for (std::size_t i = 0; i < kViews.size(); ++i) {
        core::Panel* view = createView(kViews[i].slot, context, tabs_);
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

QString analysisTabLetters() {
    QString letters;
    for (const ViewEntry& entry : kViews) {
        if (entry.label != nullptr) {
            letters += QString::fromUtf8(entry.label).trimmed().front();
        }
    }
    return letters;
}

bool CAnalyseDlg::showTab(QChar letter) {
    for (std::size_t i = 0; i < kViews.size(); ++i) {
        const char* label = kViews[i].label;
        if (label != nullptr && QString::fromUtf8(label).trimmed().front() == letter) {
            tabs_->setCurrentWidget(views_[i]);
            return true;
        }
    }
    return false;
}

void CAnalyseDlg::setVisibleRange(double fromMetres, double toMetres) {
    for (core::Panel* view : views_) {
        if (auto* waveform = dynamic_cast<WaveformView*>(view)) {
            waveform->setVisibleRange(fromMetres, toMetres);
        }
    }
}

core::Panel* CAnalyseDlg::view(PanelSlot slot) const {
    for (std::size_t i = 0; i < kViews.size(); ++i) {
        if (kViews[i].slot == slot) {
            return views_[i];
        }
    }
    return nullptr;
}

}  // namespace sundrel::analysis
