#include "app/ui/right_view.h"

#include <QVBoxLayout>

#include "analysis/ui/analyse_dlg.h"
#include "calibration/ui/calibration_dlg.h"
#include "core/panel_messenger.h"
#include "frames/ui/detect_dlg.h"

namespace sundrel::app {

using namespace core;

CMyTabCtrl::CMyTabCtrl(QWidget* parent) : QTabWidget(parent) {
    setObjectName("CMyTabCtrl");
    setTabPosition(QTabWidget::North);
    setDocumentMode(false);
}

CRightView::CRightView(const PanelContext& context, QWidget* parent)
    : Panel(parent), messenger_(context.messenger) {
    setObjectName("CRightView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new CMyTabCtrl(this);
    layout->addWidget(tabs_);

    PanelRegistry& registry = context.messenger.registry();
    auto* analysis = new analysis::CAnalyseDlg(context, tabs_);  // registers 24 to 32
    auto* detect = new frames::CDetcetDlg(context, tabs_);
    registry.registerPanel(PanelSlot::RealTimeView, detect);
    registry.registerPanel(PanelSlot::AnalysisContainer, analysis);
    auto* calibration = new calibration::CCalibrationDlg(context, tabs_);
    registry.registerPanel(PanelSlot::CalibrationView, calibration);
    tabs_->addTab(detect, QString::fromUtf8(" 采集 "));
    tabs_->addTab(analysis, QString::fromUtf8(" 分析 "));
    tabs_->addTab(calibration, QString::fromUtf8(" 标定 "));
    tabs_->setCurrentIndex(0);
    registry.registerPanel(PanelSlot::RightView, this);
    registry.registerPanel(PanelSlot::TabControl, tabs_);

    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (switching_ || index < 0) {
            return;
        }
        if (QWidget* page = tabs_->widget(index)) {
            page->setFocus();
        }
        const PanelMessage switchTo{static_cast<std::uintptr_t>(PanelCode::SwitchActivity),
                                    static_cast<std::uintptr_t>(index), 0, 0};
        messenger_.send(PanelSlot::LeftView, switchTo);
        messenger_.send(PanelSlot::MainWindow, switchTo);
    });
}

void CRightView::handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) {
    if (codeOf(message) == PanelCode::SwitchActivity) {
        const auto index = static_cast<int>(message.data);
        if (index >= 0 && index < tabs_->count() && index != tabs_->currentIndex()) {
            switching_ = true;
            tabs_->setCurrentIndex(index);
            switching_ = false;
        }
        return;
    }
    Panel::handlePanelMessage(message, lparam);
}

}  // namespace sundrel::app
