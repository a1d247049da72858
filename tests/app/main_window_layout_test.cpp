// The main window at its start-up size of 1280 × 800: what the operator must
// be able to read without scrolling or widening anything.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <cstring>
#include <memory>

#include "analysis/ui/analyse_ctrl_dlg.h"
#include "analysis/ui/analyse_dlg.h"
#include "app/ui/main_frame.h"
#include "core/panel_registry.h"
#include "core/user_messages.h"
#include "test_support/scratch_folder.h"
#include "widgets/property_grid.h"

namespace sundrel::app {
namespace {

class MainWindowLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((scratch_.path() / "user").string()));
        core::setUserMessageSink([](const core::UserMessage&) {});
        messenger_ = std::make_unique<core::PanelMessenger>(registry_);
        frame_ =
            std::make_unique<CMainFrame>(*messenger_, (scratch_.path() / "config.ini").string());
        frame_->show();
        frame_->showActivity(1);
        QApplication::processEvents();
        page_ = dynamic_cast<analysis::CAnalyseDlg*>(
            registry_.lookup(core::PanelSlot::AnalysisContainer));
        panel_ = dynamic_cast<analysis::CAnalyseCtrlDlg*>(
            registry_.lookup(core::PanelSlot::AnalysisControl));
    }
    void TearDown() override {
        frame_.reset();
        core::setUserMessageSink({});
    }

    sundrel::testing::ScratchFolder scratch_;
    core::PanelRegistry registry_;
    std::unique_ptr<core::PanelMessenger> messenger_;
    std::unique_ptr<CMainFrame> frame_;
    analysis::CAnalyseDlg* page_ = nullptr;
    analysis::CAnalyseCtrlDlg* panel_ = nullptr;
};

TEST_F(MainWindowLayoutTest, AllEightAnalysisTabsShowInFull) {
    ASSERT_EQ(frame_->size(), QSize(1280, 800));
    ASSERT_NE(page_, nullptr);
    QTabBar* bar = page_->tabs()->tabBar();
    ASSERT_EQ(bar->count(), 8);
    // Whichever tab is current (its label is bold), every label fits.
    for (int current = 0; current < bar->count(); ++current) {
        page_->tabs()->setCurrentIndex(current);
        QApplication::processEvents();
        for (const QToolButton* arrow : bar->findChildren<QToolButton*>()) {
            EXPECT_FALSE(arrow->isVisible()) << "scroll arrows with tab " << current;
        }
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            EXPECT_GE(tab.left(), 0) << i;
            EXPECT_LE(bar->mapTo(page_->tabs(), tab.topRight()).x(), page_->tabs()->width() - 1)
                << i << " with tab " << current;
            QFont font = bar->font();
            font.setBold(i == current);
            EXPECT_GE(tab.width(), QFontMetrics(font).horizontalAdvance(bar->tabText(i)))
                << i << " with tab " << current;
        }
    }
}

TEST_F(MainWindowLayoutTest, TheKilometreRangeOfTheGridIsReadableInFull) {
    ASSERT_NE(panel_, nullptr);
    AnalysisInfoBlock info{};
    std::strcpy(info.startTime, "20261211090000");
    for (const auto& [start, end, text] : {
             std::tuple{35200.0, 36450.0, "35km+200m--->36km+450m"},
             std::tuple{123456.0, 124789.0, "123km+456m--->124km+789m"},
         }) {
        info.startPosition = start;
        info.endPosition = end;
        const core::PanelMessage message{static_cast<std::uintptr_t>(core::PanelCode::FileInfo),
                                         reinterpret_cast<std::uintptr_t>(&info), 0, 0};
        messenger_->send(core::PanelSlot::AnalysisControl, message);
        QApplication::processEvents();
        widgets::CMyPropertyGridCtrl* grid = panel_->grid();
        QTreeWidgetItem* item =
            grid->find(QString::fromUtf8("公里标"), grid->find(QString::fromUtf8("采集信息")));
        ASSERT_NE(item, nullptr);
        ASSERT_EQ(item->text(1), text);
        const QRect cell = grid->visualRect(grid->indexFromItem(item, 1));
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
        EXPECT_GE(cell.width(), grid->fontMetrics().horizontalAdvance(item->text(1)) + 2 * margin)
            << text;
        EXPECT_LE(cell.right(), grid->viewport()->width() - 1) << text;
    }
}

}  // namespace
}  // namespace sundrel::app
