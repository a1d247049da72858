#pragma once

#include <array>

#include "core/panel.h"
#include "core/panel_context.h"

class QStackedLayout;

namespace sundrel::app {

// The left column: shows the control panel of the current activity
// (0 measurement, 1 analysis, 2 calibration) and hides the other two.
class CSundrelView : public core::Panel {
    Q_OBJECT
public:
    explicit CSundrelView(const core::PanelContext& context, QWidget* parent = nullptr);

    int activeIndex() const;
    core::Panel* panel(int activity) const { return panels_[static_cast<std::size_t>(activity)]; }
    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

private:
    QStackedLayout* stack_;
    std::array<core::Panel*, 3> panels_{};  // by activity
};

}  // namespace sundrel::app
