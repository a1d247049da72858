#pragma once

#include "analysis/detail_table.h"
#include "core/panel.h"
#include "core/panel_context.h"

class QTableWidget;

namespace sundrel::analysis {

// The detailed report page (" I：详细报表 "): the sections of the last
// analysis, one row pair per section, shown from a DetailTable.
class CCDetailReport : public core::Panel {
    Q_OBJECT
public:
    explicit CCDetailReport(const core::PanelContext& context, QWidget* parent = nullptr);

    const DetailTable& table() const { return table_; }
    QTableWidget* grid() const { return grid_; }
    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    void reset();
    void show();

    const core::SettingsRecord& settings_;
    DetailTable table_;
    QTableWidget* grid_;
};

// The band limits a settings record holds.
Thresholds thresholdsOf(const core::SettingsRecord& settings);

}  // namespace sundrel::analysis
