// The measurement panel with simulated boxes and a panel context of its own.
#include "acquisition/ui/measure_ctrl_dlg.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "boxsim/simulated_box.h"
#include "core/panel_registry.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"
#include "test_support/fake_panel_context.h"
#include "test_support/scratch_folder.h"
#include "test_support/serve_events.h"

namespace sundrel::acquisition {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using sundrel::testing::serveUntil;

// The real-time view's side of the protocol: counts what arrives.
class CountingView : public core::Panel {
public:
    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t) override {
        codes.push_back(message.code);
        if (message.code == 4) {
            bytes += message.count;
        }
    }
    std::vector<std::uintptr_t> codes;
    std::size_t bytes = 0;
};

class MeasureCtrlDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::setUserMessageSink([this](const core::UserMessage& m) { messages_.push_back(m); });
        fake_.registry.registerPanel(core::PanelSlot::RealTimeView, &view_);
        fake_.configPath = scratch_.file("config.ini");
        std::ofstream(fake_.configPath) << "[PORT_DEVICES]\nCOM1=" << left_.devicePath()
                                        << "\nCOM2=" << right_.devicePath() << "\n";
        auto& ribbon = fake_.ribbon.texts;
        ribbon[core::ID_COMBO_PORT_NO_LEFT] = "COM1";
        ribbon[core::ID_COMBO_PORT_NO_RIGHT] = "COM2";
        ribbon[core::IDC_COMBO_RATE] = "115200";
        ribbon[core::ID_COMBO_CRC] = "NONE";
        ribbon[core::IDC_COMBO_DATA_BITS] = "8";
        ribbon[core::ID_COMBO_STOP_BIT] = "1";
        ribbon[core::ID_COMBO_RUN_PATH] = QString::fromUtf8("前进");
        ribbon[core::ID_EDIT_KM_POS] = "1000";
        ribbon[core::ID_FILE_PATH] = QString::fromStdString(scratch_.path().string());
        ribbon[core::ID_LINE_NAME] = QString::fromUtf8("京沪线");
        fake_.settings.nCollectionCommand = 80;
        fake_.settings.nDataBytesTrigger = 1200;
        fake_.settings.dEncoder = 0.02;
        fake_.settings.leftEddy[1] = {0.0001, 0.5};
    }
    void TearDown() override { core::setUserMessageSink({}); }

    static boxsim::BoxOptions box(frames::RailSide side) {
        boxsim::BoxOptions options;
        options.side = side;
        options.rateFps = 960;
        options.track.lengthM = 50;
        return options;
    }

    std::vector<fs::path> recordings() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(scratch_.path())) {
            if (entry.path().extension() == ".raw") {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    sundrel::testing::ScratchFolder scratch_;
    boxsim::SimulatedBox left_{box(frames::RailSide::Left)};
    boxsim::SimulatedBox right_{box(frames::RailSide::Right)};
    sundrel::testing::FakePanelContext fake_;
    CountingView view_;
    std::vector<core::UserMessage> messages_;
};

TEST_F(MeasureCtrlDlgTest, ARunOfBothRailsFromStartThroughPauseToStop) {
    CMeasureCtrlDlg panel(fake_.context);
    fake_.registry.registerPanel(core::PanelSlot::MeasureControl, &panel);  // code 6 comes here
    EXPECT_EQ(panel.positionEdit()->text(), "0km+0m");
    EXPECT_TRUE(panel.startButton()->isEnabled());
    EXPECT_FALSE(panel.stopButton()->isEnabled());

    panel.start();
    ASSERT_TRUE(panel.isRunning());
    EXPECT_EQ(view_.codes.front(), 5u);  // the view prepares a new run first
    EXPECT_FALSE(panel.startButton()->isEnabled());
    EXPECT_EQ(fake_.status.progress, std::vector<int>{50});
    ASSERT_EQ(fake_.status.texts.size(), 1u);
    EXPECT_TRUE(fake_.status.texts[0].startsWith(QString::fromUtf8("正在采集。左侧保存文件：")));
    EXPECT_EQ(std::int32_t{fake_.settings.nPortLeft}, 1);
    EXPECT_EQ(std::int32_t{fake_.settings.nPortRight}, 2);
    EXPECT_EQ(std::string(fake_.settings.chLineName), "京沪线");

    // The km-post position follows the left rail's deliveries.
    ASSERT_TRUE(serveUntil([&] { return panel.positionEdit()->text() != "0km+0m"; }));
    EXPECT_TRUE(panel.positionEdit()->text().startsWith("1+"))
        << panel.positionEdit()->text().toStdString();

    panel.pauseOrContinue();
    EXPECT_EQ(panel.pauseButton()->text(), QString::fromUtf8("继续"));
    EXPECT_FALSE(panel.stopButton()->isEnabled());
    panel.pauseOrContinue();
    EXPECT_EQ(panel.pauseButton()->text(), QString::fromUtf8("暂停"));
    EXPECT_TRUE(panel.stopButton()->isEnabled());

    ASSERT_TRUE(serveUntil([&] { return view_.bytes > 12000; }));
    panel.positionEdit()->setText("0+500");  // behind the start: rejected, the run goes on
    panel.stop();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QString::fromUtf8("公里标输入错误！请重新输入..."));
    EXPECT_TRUE(panel.isRunning());

    panel.positionEdit()->setText("1+100");
    panel.stop();
    EXPECT_FALSE(panel.isRunning());
    // The view is told the run ended (a batch under way may still follow it).
    EXPECT_EQ(std::count(view_.codes.begin(), view_.codes.end(), 7u), 1);
    EXPECT_EQ(fake_.status.texts.back(), QString::fromUtf8("结束采集！"));
    EXPECT_EQ(fake_.status.progress.back(), 100);
    EXPECT_TRUE(panel.startButton()->isEnabled());
    // 100 m over the frames of the run: the distance per frame is measured.
    const double frames = panel.leftChannel().record().dataByteCount / 12;
    EXPECT_DOUBLE_EQ(double{fake_.settings.dEncoder}, 100.0 / frames);

    const auto files = recordings();
    ASSERT_EQ(files.size(), 2u);
    for (const fs::path& file : files) {
        RawFileHeader trailer{};
        std::ifstream in(file, std::ios::binary);
        in.seekg(-static_cast<std::streamoff>(sizeof trailer), std::ios::end);
        in.read(reinterpret_cast<char*>(&trailer), sizeof trailer);
        const double position = trailer.position;
        const double slope = trailer.leftEddy[1].slope;
        EXPECT_EQ(position, 1100.0);
        EXPECT_EQ(slope, 0.0001) << "the calibration in force at the start";
        EXPECT_EQ(fs::file_size(file), 2 * sizeof trailer + trailer.dataByteCount);
    }
}

TEST_F(MeasureCtrlDlgTest, RibbonCodesStartAndStopAndAStopWithoutARunChangesNothing) {
    CMeasureCtrlDlg panel(fake_.context);
    const core::PanelMessage stop{7, 0, 0, 0};
    panel.handlePanelMessage(stop, 0);
    EXPECT_TRUE(recordings().empty());
    EXPECT_TRUE(fake_.status.texts.empty());

    panel.handlePanelMessage({3, 0, 0, 0}, 0);
    ASSERT_TRUE(panel.isRunning());
    panel.start();  // a start while running does nothing
    ASSERT_TRUE(serveUntil([&] { return view_.bytes > 2400; }));
    panel.pauseOrContinue();  // the ribbon's stop also ends a paused run
    panel.positionEdit()->setText("1+5");
    panel.handlePanelMessage(stop, 0);
    EXPECT_FALSE(panel.isRunning());
    EXPECT_EQ(recordings().size(), 2u);
    EXPECT_EQ(double{fake_.settings.dEncoder}, 0.02) << "5 m is too short to measure";
}

TEST_F(MeasureCtrlDlgTest, FailedStartsSayWhyAndTheLeftRailMayRecordAlone) {
    CMeasureCtrlDlg panel(fake_.context);
    fake_.ribbon.texts[core::ID_COMBO_PORT_NO_LEFT] = "";  // port 0
    panel.start();
    EXPECT_FALSE(panel.isRunning());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Port number is invalid or port is not opened in advance");
    EXPECT_TRUE(recordings().empty());

    fake_.ribbon.texts[core::ID_COMBO_PORT_NO_LEFT] = "COM1";
    fake_.ribbon.texts[core::ID_COMBO_PORT_NO_RIGHT] = "COM9";  // nothing there
    panel.start();
    ASSERT_TRUE(panel.isRunning());
    EXPECT_EQ(messages_.size(), 2u);
    panel.positionEdit()->setText("1+0");
    panel.stop();
    ASSERT_EQ(recordings().size(), 1u);
    EXPECT_NE(recordings()[0].string().find("_left.raw"), std::string::npos);
}

}  // namespace
}  // namespace sundrel::acquisition
