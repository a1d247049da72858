#pragma once

#include <array>

#include "app/panel.h"

class QStackedLayout;

namespace sundrel::app {

class PanelMessenger;

// The left column: shows the control panel of the current activity
// (0 measurement, 1 analysis, 2 calibration) and hides the other two.
class CSundrelView : public Panel {
    Q_OBJECT
public:
    explicit CSundrelView(PanelMessenger& messenger, QWidget* parent = nullptr);

    int activeIndex() const;
    Panel* panel(int activity) const { return panels_[static_cast<std::size_t>(activity)]; }
    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override;

private:
    QStackedLayout* stack_;
    std::array<Panel*, 3> panels_{};  // by activity
};

}  // namespace sundrel::app
