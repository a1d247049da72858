#pragma once

#include "analysis/detail_table.h"
#include "app/panel.h"

class QTableWidget;

namespace sundrel::analysis {

// The detailed report page (" I：详细报表 "): the sections of the last
// analysis, one row pair per section, shown from a DetailTable.
class CCDetailReport : public app::Panel {
    Q_OBJECT
public:
    explicit CCDetailReport(QWidget* parent = nullptr);

    const DetailTable& table() const { return table_; }
    QTableWidget* grid() const { return grid_; }
    void handlePanelMessage(const app::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    void reset();
    void show();

    DetailTable table_;
    QTableWidget* grid_;
};

// The thresholds the program runs with (zeros before the settings exist).
Thresholds currentThresholds();

}  // namespace sundrel::analysis
