// The detailed report page as the operator sees it: failing bands coloured,
// the section and rail columns kept in view.
#include "analysis/ui/detail_report.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

#include "section_records.h"
#include "test_support/fake_panel_context.h"

namespace sundrel::analysis {
namespace {

using testing::sections;

class DetailReportTest : public ::testing::Test {
protected:
    void fill(int side, int count) {
        const auto records = sections(side, count);
        const core::PanelMessage message{static_cast<std::uintptr_t>(core::PanelCode::Sections),
                                         reinterpret_cast<std::uintptr_t>(records.data()), 0,
                                         records.size()};
        report_.handlePanelMessage(message, 0);
    }

    sundrel::testing::FakePanelContext fake_;
    CCDetailReport report_{fake_.context};
};

// Section i's band k has the ratio i + k / 10: from section 5 band 1 on, the
// bands are above 5 %.
TEST_F(DetailReportTest, FailingBandsAreFilledInTheWarningColour) {
    fill(1, 8);
    fill(2, 8);
    const QTableWidget* grid = report_.grid();
    const QColor warning(QRgb{kFailingSectionColour});
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QTableWidgetItem* item = grid->item(row, column);
            const bool coloured = item != nullptr && item->background().color() == warning &&
                                  item->background().style() != Qt::NoBrush;
            EXPECT_EQ(coloured, report_.table().failing(row, column)) << row << "," << column;
        }
    }
    EXPECT_TRUE(report_.table().failing(12, 5));   // left, section 5, 5.1 %
    EXPECT_FALSE(report_.table().failing(12, 2));  // 5.0 %
    EXPECT_EQ(grid->item(12, 6)->text(), "0.100");
}

TEST_F(DetailReportTest, SectionAndRailStayInViewWhenScrollingSideways) {
    fill(1, 30);
    fill(2, 30);
    report_.resize(700, 300);
    report_.show();
    QApplication::processEvents();
    const QTableWidget* grid = report_.grid();
    const QTableView* frozen = report_.frozenColumns();
    ASSERT_TRUE(frozen->isVisible());
    const QRect viewport = grid->viewport()->geometry();
    EXPECT_EQ(frozen->geometry().topLeft(), viewport.topLeft());
    EXPECT_EQ(frozen->width(), grid->columnWidth(0) + grid->columnWidth(1));
    EXPECT_EQ(frozen->height(), viewport.height());
    for (int column = 0; column < DetailTable::kColumns; ++column) {
        EXPECT_EQ(frozen->isColumnHidden(column), column >= 2) << column;
    }

    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QApplication::processEvents();
    ASSERT_GT(grid->horizontalScrollBar()->value(), 260);  // columns 0 and 1 scrolled away
    EXPECT_EQ(frozen->verticalScrollBar()->value(), grid->verticalScrollBar()->value());
    // The frozen columns show the rows beside them: the last section pair,
    // merged as in the grid.
    const int lastPair = 2 + 2 * 29;
    EXPECT_EQ(frozen->rowViewportPosition(lastPair), grid->rowViewportPosition(lastPair));
    const int y = grid->rowViewportPosition(lastPair) + grid->rowHeight(lastPair) + 5;
    const QModelIndex range = frozen->indexAt(QPoint(10, y));
    const QModelIndex side = frozen->indexAt(QPoint(grid->columnWidth(0) + 10, y));
    ASSERT_TRUE(range.isValid() && side.isValid());
    EXPECT_EQ(range.row(), lastPair);  // the merged cell's top
    EXPECT_EQ(range.data().toString(), "0+2900-->0+3000");
    EXPECT_EQ(side.row(), lastPair + 1);
    EXPECT_EQ(side.data().toString(), QString::fromUtf8("右轨"));
}

}  // namespace
}  // namespace sundrel::analysis
