#pragma once

#include "analysis/detail_table.h"
#include "core/panel.h"
#include "core/panel_context.h"

class QTableView;
class QTableWidget;

namespace sundrel::analysis {

// The detailed report page (" I：详细报表 "): the sections of the last
// analysis, one row pair per section, shown from a DetailTable. The cells of
// failing bands are filled in kFailingSectionColour, and the section and
// rail columns stay in view when the table scrolls sideways.
class CCDetailReport : public core::Panel {
    Q_OBJECT
public:
    explicit CCDetailReport(const core::PanelContext& context, QWidget* parent = nullptr);

    const DetailTable& table() const { return table_; }
    QTableWidget* grid() const { return grid_; }
    // The section and rail columns drawn over the grid's left edge.
    QTableView* frozenColumns() const { return frozen_; }
    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reset();
    void showTable();
    void placeFrozenColumns();

    const core::SettingsRecord& settings_;
    DetailTable table_;
    QTableWidget* grid_;
    QTableView* frozen_;
};

// The band limits a settings record holds.
Thresholds thresholdsOf(const core::SettingsRecord& settings);

}  // namespace sundrel::analysis
