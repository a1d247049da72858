#include "app/ui/left_view.h"

#include <QStackedLayout>

#include "acquisition/ui/measure_ctrl_dlg.h"
#include "analysis/ui/analyse_ctrl_dlg.h"
#include "calibration/ui/calibration_ctrl_dlg.h"
#include "core/panel_messenger.h"
#include "core/panel_registry.h"

namespace sundrel::app {

using namespace core;

CSundrelView::CSundrelView(const PanelContext& context, QWidget* parent) : Panel(parent) {
    PanelRegistry& registry = context.messenger.registry();
    setObjectName("CSundrelView");
    registry.registerPanel(PanelSlot::LeftView, this);
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    // Created in this order, each registering itself.
    auto* analysis = new analysis::CAnalyseCtrlDlg(context, this);
    registry.registerPanel(PanelSlot::AnalysisControl, analysis);
    auto* measure = new acquisition::CMeasureCtrlDlg(context, this);
    registry.registerPanel(PanelSlot::MeasureControl, measure);
    auto* calibration = new calibration::CCalibrationCtrlDlg(context, this);
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
