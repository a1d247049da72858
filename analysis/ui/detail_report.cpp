#include "analysis/ui/detail_report.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/program_settings.h"

namespace sundrel::analysis {

Thresholds currentThresholds() {
    const app::SettingsRecord* settings = app::programSettings();
    if (settings == nullptr) {
        return {};
    }
    return {settings->dTh30_100, settings->dTh100_300, settings->dTh300_1000,
            settings->dTh1000_3000};
}

CCDetailReport::CCDetailReport(QWidget* parent) : Panel(parent), table_(currentThresholds()) {
    setObjectName("CCDetailReport");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new QTableWidget(this);
    grid_->setObjectName("detailGrid");
    grid_->horizontalHeader()->hide();  // the header rows are ordinary cells
    grid_->verticalHeader()->hide();
    grid_->setSortingEnabled(false);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(grid_);
    show();
}

void CCDetailReport::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    if (grid_ != nullptr) {
        QPalette colours = grid_->palette();
        colours.setColor(QPalette::Base, app::colourFromBgr(bgr));
        grid_->setPalette(colours);
    }
}

void CCDetailReport::reset() {
    table_.reset(currentThresholds());
    show();
}

// Copies the table into the grid: texts, merged cells and column widths.
void CCDetailReport::show() {
    grid_->clearSpans();
    grid_->clearContents();
    grid_->setColumnCount(DetailTable::kColumns);
    grid_->setRowCount(table_.rowCount());
    for (int column = 0; column < DetailTable::kColumns; ++column) {
        const int width = DetailTable::kColumnWidths[static_cast<std::size_t>(column)];
        if (width > 0) {
            grid_->setColumnWidth(column, width);
        }
    }
    for (int row = 0; row < table_.rowCount(); ++row) {
        for (int column = 0; column < DetailTable::kColumns; ++column) {
            const std::string& text = table_.text(row, column);
            if (!text.empty()) {
                auto* item = new QTableWidgetItem(QString::fromStdString(text));
                item->setTextAlignment(Qt::AlignCenter);
                grid_->setItem(row, column, item);
            }
        }
    }
    for (const CellRange& range : table_.merges()) {
        grid_->setSpan(range.firstRow, range.firstColumn, range.lastRow - range.firstRow + 1,
                       range.lastColumn - range.firstColumn + 1);
    }
}

void CCDetailReport::handlePanelMessage(const app::PanelMessage& message, std::intptr_t lparam) {
    switch (app::codeOf(message)) {
        case app::PanelCode::Clear:
            reset();
            break;
        case app::PanelCode::Sections:
            table_.fill(reinterpret_cast<const SectionRecord*>(message.data), message.count);
            show();
            break;
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::analysis
