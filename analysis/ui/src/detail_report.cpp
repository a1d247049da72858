#include "analysis/ui/detail_report.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sundrel::analysis {
namespace {

// Columns 0 ("里程") and 1 ("股别") name the row and never scroll away.
constexpr int kFrozenColumns = 2;

}  // namespace

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
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    layout->addWidget(grid_);

    // A second view of the same cells over the grid's left edge, showing the
    // frozen columns only and following the grid's vertical scrolling.
    frozen_ = new QTableView(grid_);
    frozen_->setObjectName("frozenColumns");
    frozen_->setModel(grid_->model());
    frozen_->setSelectionModel(grid_->selectionModel());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->horizontalHeader()->hide();
    frozen_->verticalHeader()->hide();
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    frozen_->setFrameShape(QFrame::NoFrame);
    grid_->viewport()->stackUnder(frozen_);
    connect(grid_->verticalScrollBar(), &QAbstractSlider::valueChanged,
            frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged,
            grid_->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(grid_->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int height) { frozen_->setRowHeight(row, height); });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (column < kFrozenColumns) {
                    frozen_->setColumnWidth(column, width);
                    placeFrozenColumns();
                }
            });
    grid_->installEventFilter(this);
    showTable();
}

bool CCDetailReport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        placeFrozenColumns();
    }
    return Panel::eventFilter(watched, event);
}

void CCDetailReport::placeFrozenColumns() {
    int width = 0;
    for (int column = 0; column < kFrozenColumns; ++column) {
        width += grid_->columnWidth(column);
    }
    const QRect viewport = grid_->viewport()->geometry();
    frozen_->setGeometry(viewport.x(), viewport.y(), std::min(width, viewport.width()),
                         viewport.height());
}

void CCDetailReport::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    for (QTableView* view : {static_cast<QTableView*>(grid_), frozen_}) {
        if (view != nullptr) {
            QPalette colours = view->palette();
            colours.setColor(QPalette::Base, core::colourFromBgr(bgr));
            view->setPalette(colours);
        }
    }
}

void CCDetailReport::reset() {
    table_.reset(thresholdsOf(settings_));
    showTable();
}

// Copies the table into the grid: texts, merged cells and column widths.
void CCDetailReport::showTable() {
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
                if (table_.failing(row, column)) {
                    item->setBackground(QColor(QRgb{kFailingSectionColour}));
                }
                grid_->setItem(row, column, item);
            }
        }
    }
    frozen_->clearSpans();
    for (const CellRange& range : table_.merges()) {
        grid_->setSpan(range.firstRow, range.firstColumn, range.lastRow - range.firstRow + 1,
                       range.lastColumn - range.firstColumn + 1);
        if (range.lastColumn < kFrozenColumns) {
            frozen_->setSpan(range.firstRow, range.firstColumn, range.lastRow - range.firstRow + 1,
                             range.lastColumn - range.firstColumn + 1);
        }
    }
    for (int column = 0; column < DetailTable::kColumns; ++column) {
        frozen_->setColumnHidden(column, column >= kFrozenColumns);
        if (column < kFrozenColumns) {
            frozen_->setColumnWidth(column, grid_->columnWidth(column));
        }
    }
    for (int row = 0; row < table_.rowCount(); ++row) {
        frozen_->setRowHeight(row, grid_->rowHeight(row));
    }
    placeFrozenColumns();
}

void CCDetailReport::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case core::PanelCode::Clear:
            reset();
            break;
        case core::PanelCode::Sections:
            table_.fill(reinterpret_cast<const SectionRecord*>(message.data), message.count);
            showTable();
            break;
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::analysis
