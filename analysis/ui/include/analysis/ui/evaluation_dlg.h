#pragma once

#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::widgets {
class CChartBarSerie;
class CChartCtrl;
class CChartLineSerie;
}  // namespace sundrel::widgets

namespace sundrel::analysis {

// The evaluation page (" H：线路评估 "): each band's whole-run exceed ratio as
// a green left-rail bar and a blue right-rail bar, against the 5 % line.
class CEvaluationDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CEvaluationDlg(const core::PanelContext& context, QWidget* parent = nullptr);

    widgets::CChartCtrl* chart() const { return chart_; }
    widgets::CChartBarSerie* leftBars() const { return left_; }
    widgets::CChartBarSerie* rightBars() const { return right_; }
    widgets::CChartLineSerie* limitLine() const { return limit_; }

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    widgets::CChartCtrl* chart_ = nullptr;
    widgets::CChartBarSerie* left_ = nullptr;
    widgets::CChartBarSerie* right_ = nullptr;
    widgets::CChartLineSerie* limit_ = nullptr;
};

}  // namespace sundrel::analysis
