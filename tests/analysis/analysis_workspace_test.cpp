// The analysis workspace in the main window, through the real engine on
// small synthetic recordings.
#include <gtest/gtest.h>

#include <unistd.h>
#include "test_support/scratch_folder.h"

#include <QSettings>
#include <QTableWidget>
#include <QTreeWidgetItem>
#include <filesystem>
#include <memory>

#include "analysis/ui/analyse_ctrl_dlg.h"
#include "analysis/ui/detail_report.h"
#include "analysis/ui/waveform_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/ribbon_bar.h"
#include "app/ui/status_bar.h"
#include "core/panel_registry.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"
#include "platform/xlsx_book.h"
#include "platform/xlsx_sheet.h"
#include "synth/recording_synth.h"
#include "widgets/chart_line_serie.h"
#include "widgets/property_grid.h"

namespace sundrel::analysis {
namespace {

namespace fs = std::filesystem;

class AnalysisWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_ / "Demo");
        fs::copy_file(SUNDREL_SOURCE_TEMPLATE, folder_ / "Demo" / "report.xlsx");
        previous_ = fs::current_path();
        fs::current_path(folder_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((folder_ / "user").string()));
        core::setUserMessageSink(
            [this](const core::UserMessage& m) { messages_.push_back(m.text); });
        messenger_ = std::make_unique<core::PanelMessenger>(registry_);
        frame_ = std::make_unique<app::CMainFrame>(*messenger_, (folder_ / "config.ini").string());
        messages_.clear();  // the missing config.ini
        panel_ = dynamic_cast<CAnalyseCtrlDlg*>(registry_.lookup(core::PanelSlot::AnalysisControl));
        report_ = dynamic_cast<CCDetailReport*>(registry_.lookup(core::PanelSlot::DetailedReport));
        for (int id : {core::ID_THRESHOLD_30_100, core::ID_THRESHOLD_100_300,
                       core::ID_THRESHOLD_300_1000, core::ID_THRESHOLD_1000_3000}) {
            frame_->ribbon()->setText(id, "0.1");
        }
        synth::RecordingPlan plan;
        plan.lengthM = 250;
        plan.startPositionM = 1000;
        plan.startTime = "20261210223000";
        plan.lineName = "京沪线";
        plan.right.corrugations = {{450.0, 0.07}};
        fs::create_directories(folder_ / "runs");
        pair_ = synth::writeRecordingPair(plan, (folder_ / "runs").string());
    }
    void TearDown() override {
        frame_.reset();
        core::setUserMessageSink({});
        fs::current_path(previous_);
    }

    sundrel::testing::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
    fs::path previous_;
    std::vector<QString> messages_;
    core::PanelRegistry registry_;
    std::unique_ptr<core::PanelMessenger> messenger_;
    std::unique_ptr<app::CMainFrame> frame_;
    CAnalyseCtrlDlg* panel_ = nullptr;
    CCDetailReport* report_ = nullptr;
    synth::RecordingPair pair_;
};

TEST_F(AnalysisWorkspaceTest, OpeningARecordingAnalysesBothRails) {
    ASSERT_NE(panel_, nullptr);
    ASSERT_NE(report_, nullptr);
    EXPECT_EQ(panel_->infoText(QString::fromUtf8("线路名称")), "******");
    panel_->setFileChooser([this] { return QString::fromStdString(pair_.rightPath); });
    const core::PanelMessage open{static_cast<std::uintptr_t>(core::PanelCode::OpenFile), 0, 0, 0};
    messenger_->send(core::PanelSlot::AnalysisControl, open);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(frame_->windowTitle(), QString::fromStdString(pair_.rightPath));
    EXPECT_EQ(panel_->infoText(QString::fromUtf8("线路名称")), QString::fromUtf8("京沪线"));
    EXPECT_EQ(panel_->infoText(QString::fromUtf8("运行方向")), QString::fromUtf8("前进"));
    EXPECT_EQ(panel_->infoText(QString::fromUtf8("公里标")), "1km+0m--->1km+250m");
    EXPECT_EQ(panel_->infoText(QString::fromUtf8("采集时间")), "20261210223000");
    // The chosen (right) file first: it made the rows; then the left one.
    const DetailTable& table = report_->table();
    ASSERT_EQ(table.rowCount(), 2 * 3 + 3);
    EXPECT_EQ(table.text(2, 0), "1+0-->1+100");
    EXPECT_EQ(table.text(2, 8), "0.00%");  // left, 300-1000 mm: quiet
    EXPECT_NE(table.text(3, 8), "0.00%");  // right: the 450 mm corrugation exceeds
    EXPECT_EQ(report_->grid()->rowCount(), 9);
    EXPECT_DOUBLE_EQ(double{frame_->settings().dTh30_100}, 0.1);
}

// The counterpart is looked for beside the chosen file, whatever the folders
// are called; the scratch folder itself has "_" and "." in its name.
TEST_F(AnalysisWorkspaceTest, FoldersWithUnderscoreOrDotStillFindTheOtherRail) {
    for (const char* name : {"my_data", "v1.2"}) {
        synth::RecordingPlan plan;
        plan.lengthM = 150;
        plan.startTime = "20261211080000";
        plan.right.corrugations = {{450.0, 0.07}};
        const fs::path folder = folder_ / name;
        fs::create_directories(folder);
        const synth::RecordingPair pair = synth::writeRecordingPair(plan, folder.string());
        panel_->analyseFile(QString::fromStdString(pair.leftPath));
        const DetailTable& table = report_->table();
        ASSERT_EQ(table.rowCount(), 2 * 2 + 3) << name;
        EXPECT_EQ(table.text(2, 8), "0.00%") << name;  // the left rail, quiet
        EXPECT_NE(table.text(3, 8), "") << name;       // the right rail is there too
        EXPECT_NE(table.text(3, 8), "0.00%") << name;
        auto* raw = dynamic_cast<WaveformView*>(registry_.lookup(core::PanelSlot::RawWaveformView));
        ASSERT_NE(raw, nullptr);
        EXPECT_GT(raw->leftCurve()->pointCount(), 0u);
        EXPECT_GT(raw->rightCurve()->pointCount(), 0u);
        EXPECT_EQ(frame_->statusBarWidget()->currentMessage(), "") << name;
    }
}

// One rail without the other: it is analysed once, every view shows just
// that rail, the report can still be written, and the operator is told.
TEST_F(AnalysisWorkspaceTest, ALoneRecordingIsAnalysedOnceAndTheStatusBarSaysSo) {
    const std::string renamed = (folder_ / "runs" / "20261210223000_copy.raw").string();
    fs::copy_file(pair_.rightPath, renamed);
    fs::remove(pair_.leftPath);
    struct Case {
        std::string chosen;
        QString told;  // part of the status text
    };
    for (const Case& c : {
             Case{pair_.rightPath, QString::fromStdString(pair_.leftPath)},
             Case{renamed, QString::fromUtf8("文件名中没有 _left 或 _right")},
         }) {
        SCOPED_TRACE(c.chosen);
        panel_->analyseFile(QString::fromStdString(c.chosen));
        EXPECT_TRUE(messages_.empty());
        const QString status = frame_->statusBarWidget()->currentMessage();
        EXPECT_TRUE(status.startsWith(QString::fromUtf8("未找到另一股钢轨的数据文件")))
            << status.toStdString();
        EXPECT_TRUE(status.contains(c.told)) << status.toStdString();

        auto* raw = dynamic_cast<WaveformView*>(registry_.lookup(core::PanelSlot::RawWaveformView));
        auto* band =
            dynamic_cast<WaveformView*>(registry_.lookup(core::PanelSlot::Band300To1000View));
        ASSERT_TRUE(raw != nullptr && band != nullptr);
        EXPECT_EQ(raw->leftCurve()->pointCount(), 0u);
        EXPECT_GT(raw->rightCurve()->pointCount(), 0u);
        EXPECT_EQ(band->leftCurve()->pointCount(), 0u);
        // Analysed once: the distances only go forward (a second pass would
        // start again at the beginning of the run).
        const auto points = band->rightCurve()->points();
        ASSERT_FALSE(points.empty());
        for (std::size_t i = 1; i < points.size(); ++i) {
            ASSERT_GT(points[i].X, points[i - 1].X) << i;
        }

        const DetailTable& table = report_->table();
        ASSERT_EQ(table.rowCount(), 2 * 3 + 3);
        EXPECT_EQ(table.text(2, 1), "左轨");
        EXPECT_EQ(table.text(2, 8), "");  // no left rail
        EXPECT_NE(table.text(3, 8), "");
        EXPECT_EQ(panel_->infoText(QString::fromUtf8("公里标")), "1km+0m--->1km+250m");

        panel_->setReportOpener([](const QString&) {});
        panel_->exportReport();
        platform::XlsxBook book;
        ASSERT_TRUE(book.load((folder_ / "Report" / "20261210223000.xlsx").string()));
        EXPECT_EQ(book.sheet(0)->text(4, 8), "");
        EXPECT_EQ(book.sheet(0)->text(5, 8), table.text(3, 8));
    }
}

TEST_F(AnalysisWorkspaceTest, AThresholdOutOfRangeStopsEverything) {
    frame_->ribbon()->setText(core::ID_THRESHOLD_300_1000, "0");
    panel_->analyseFile(QString::fromStdString(pair_.leftPath));
    EXPECT_EQ(messages_, std::vector<QString>{QString::fromUtf8("300-1000mm波段阈值设置不合理！")});
    EXPECT_EQ(report_->table().rowCount(), 25);
    EXPECT_EQ(panel_->infoText(QString::fromUtf8("公里标")), "******");
}

TEST_F(AnalysisWorkspaceTest, APathWithoutUnderscoreOnlyClears) {
    panel_->analyseFile(QString::fromStdString(pair_.leftPath));
    ASSERT_EQ(report_->table().rowCount(), 9);
    panel_->analyseFile(QString::fromStdString((folder_ / "plain.raw").string()));
    EXPECT_EQ(report_->table().rowCount(), 25);  // cleared, nothing analysed
    EXPECT_EQ(frame_->windowTitle(), QString::fromStdString(pair_.leftPath));
}

TEST_F(AnalysisWorkspaceTest, TheReportIsWrittenUnderTheStartTimeAndOpened) {
    panel_->analyseFile(QString::fromStdString(pair_.leftPath));
    QString opened;
    panel_->setReportOpener([&](const QString& path) { opened = path; });
    const core::PanelMessage exportReport{
        static_cast<std::uintptr_t>(core::PanelCode::ExportReport), 0, 0, 0};
    messenger_->send(core::PanelSlot::AnalysisControl, exportReport);
    const fs::path written = folder_ / "Report" / "20261210223000.xlsx";
    ASSERT_TRUE(fs::exists(written));
    EXPECT_EQ(fs::path(opened.toStdString()).filename(), written.filename());
    platform::XlsxBook book;
    ASSERT_TRUE(book.load(written.string()));
    EXPECT_EQ(book.sheet(0)->text(1, 1), "京沪线");
    EXPECT_EQ(book.sheet(0)->text(4, 0), "1+0-->1+100");
    EXPECT_EQ(book.sheet(0)->text(5, 1), "右轨");
}

TEST_F(AnalysisWorkspaceTest, AxisIntervalEditsReachTheirView) {
    std::vector<std::tuple<core::PanelSlot, bool, double>> changes;
    QObject::connect(panel_, &CAnalyseCtrlDlg::axisIntervalChanged,
                     [&](core::PanelSlot view, bool bottom, double step) {
                         changes.emplace_back(view, bottom, step);
                     });
    widgets::CMyPropertyGridCtrl* grid = panel_->grid();
    QTreeWidgetItem* waveforms = grid->find(QString::fromUtf8("数据波形"));
    QTreeWidgetItem* raw = grid->find(QString::fromUtf8("原始数据波形"), waveforms);
    grid->setInteger(grid->find(QString::fromUtf8("横轴间隔(m)"), raw), 0);
    grid->setInteger(grid->find(QString::fromUtf8("纵轴间隔(um)"), raw), 250);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], std::make_tuple(core::PanelSlot::RawWaveformView, true, 0.0));
    EXPECT_EQ(changes[1], std::make_tuple(core::PanelSlot::RawWaveformView, false, 0.25));
}

// A first start in an empty folder: the shipped settings are good enough to
// analyse a recording straight away.
TEST(FirstStartAnalysis, TheShippedSettingsAcceptAnAnalysis) {
    sundrel::testing::ScratchFolder scratch;
    const fs::path folder = scratch.path();
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((folder / "user").string()));
    std::vector<QString> messages;
    core::setUserMessageSink([&](const core::UserMessage& m) { messages.push_back(m.text); });
    synth::RecordingPlan plan;
    plan.lengthM = 250;
    const synth::RecordingPair pair = synth::writeRecordingPair(plan, folder.string());
    {
        core::PanelRegistry registry;
        core::PanelMessenger messenger(registry);
        app::CMainFrame frame(messenger, core::kConfigPath, SUNDREL_SOURCE_DEFAULT_CONFIG);
        EXPECT_TRUE(fs::exists(folder / "config.ini"));
        auto* panel =
            dynamic_cast<CAnalyseCtrlDlg*>(registry.lookup(core::PanelSlot::AnalysisControl));
        auto* report =
            dynamic_cast<CCDetailReport*>(registry.lookup(core::PanelSlot::DetailedReport));
        ASSERT_TRUE(panel != nullptr && report != nullptr);
        panel->analyseFile(QString::fromStdString(pair.leftPath));
        EXPECT_EQ(messages, std::vector<QString>{});  // no warning, no refused threshold
        EXPECT_EQ(report->table().rowCount(), 2 * 3 + 3);
    }
    core::setUserMessageSink({});
    fs::current_path(previous);
}

}  // namespace
}  // namespace sundrel::analysis
