#include "analysis/ui/detail_report.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sundrel::analysis {

Thresholds thresholdsOf(const core::SettingsRecord& settings) {
    return {settings.dTh30_100, settings.dTh100_300, settings.dTh300_1000, settings.dTh1000_3000};
}

CCDetailReport::CCDetailReport(const core::PanelContext& context, QWidget* parent)
    : Panel(parent), settings_(context.settings), table_(thresholdsOf(context.settings)) {
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
        colours.setColor(QPalette::Base, core::colourFromBgr(bgr));
        grid_->setPalette(colours);
    }
}

void CCDetailReport::reset() {
    table_.reset(thresholdsOf(settings_));
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

void CCDetailReport::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case core::PanelCode::Clear:
            reset();
            break;
        case core::PanelCode::Sections:
            table_.fill(reinterpret_cast<const SectionRecord*>(message.data), message.count);
            show();
            break;
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::analysis
