#include "app/ui/left_view.h"

#include <QStackedLayout>

#include "acquisition/ui/measure_ctrl_dlg.h"
#include "analysis/ui/analyse_ctrl_dlg.h"
#include "app/panel_messenger.h"
#include "app/panel_registry.h"
#include "calibration/ui/calibration_ctrl_dlg.h"

namespace sundrel::app {

CSundrelView::CSundrelView(PanelMessenger& messenger, QWidget* parent) : Panel(parent) {
    PanelRegistry& registry = messenger.registry();
    setObjectName("CSundrelView");
    registry.registerPanel(PanelSlot::LeftView, this);
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    // Created in this order, each registering itself.
    auto* analysis = new analysis::CAnalyseCtrlDlg(messenger, this);
    registry.registerPanel(PanelSlot::AnalysisControl, analysis);
    auto* measure = new acquisition::CMeasureCtrlDlg(this);
    registry.registerPanel(PanelSlot::MeasureControl, measure);
    auto* calibration = new calibration::CCalibrationCtrlDlg(this);
    registry.registerPanel(PanelSlot::CalibrationControl, calibration);
    panels_ = {measure, analysis, calibration};
    for (Panel* panel : panels_) {
        stack_->addWidget(panel);
    }
    stack_->setCurrentIndex(0);  // the measurement panel
}

int CSundrelView::activeIndex() const {
    return stack_->currentIndex();
}

void CSundrelView::handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) {
    if (codeOf(message) == PanelCode::SwitchActivity) {
        const auto index = static_cast<int>(message.data);
        if (index >= 0 && index < static_cast<int>(panels_.size()) && index != activeIndex()) {
            stack_->setCurrentIndex(index);
        }
        return;
    }
    Panel::handlePanelMessage(message, lparam);
}

}  // namespace sundrel::app
