// A calibration through the main window with two simulated boxes: readings at
// five distances give back the line the box was given, and what 完成 stores
// reaches config.ini and the next recording's headers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QSettings>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "acquisition/raw_file_header.h"
#include "acquisition/ui/measure_ctrl_dlg.h"
#include "app/ui/main_frame.h"
#include "app/ui/ribbon_bar.h"
#include "boxsim/simulated_box.h"
#include "calibration/ui/calibration_ctrl_dlg.h"
#include "calibration/ui/calibration_dlg.h"
#include "core/panel_registry.h"
#include "core/profile_helpers.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"
#include "test_support/scratch_folder.h"
#include "test_support/serve_events.h"
#include "widgets/chart_line_serie.h"

namespace sundrel::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using calibration::CCalibrationCtrlDlg;
using calibration::CCalibrationDlg;
using sundrel::testing::serveFor;
using sundrel::testing::serveUntil;

// The left box's sensor 2# reads along slope 0.00025 mm/count from 0.3 mm.
constexpr double kTrueSlope = 0.00025;
constexpr double kTrueIntercept = 0.3;

boxsim::BoxOptions box(frames::RailSide side) {
    boxsim::BoxOptions options;
    options.side = side;
    options.rateFps = 480;
    options.track.lengthM = 50;
    options.track.calibration[1] = {kTrueSlope, kTrueIntercept};
    return options;
}

class CalibrationRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(scratch_.file("user")));
        core::setUserMessageSink([this](const core::UserMessage& m) { messages_.push_back(m); });
        fs::create_directories(scratch_.path() / "runs");
    }
    void TearDown() override { core::setUserMessageSink({}); }

    void writeConfig(const std::string& right) {
        std::ofstream(config_) << "[PORT_INFO]\nnPortLeft=1\nnPortRight=2\nnBaud=115200\n"
                                  "chParity=N\nnDatabits=8\nnStopbits=1\nnCollectionCommand=85\n"
                                  "nDataBytesTrigger=1200\n[DEFAULT_PARA]\nchFilePath="
                               << (scratch_.path() / "runs").string()
                               << "\n[CALIBRATION_PARA]\ndEncoder=0.02\n[PORT_DEVICES]\nCOM1="
                               << left_.devicePath() << "\nCOM2=" << right << "\n";
    }

    // One 确认 at `mm`, with the box's target there; waits for the reading.
    void confirmAt(CMainFrame& frame, double mm) {
        left_.setTarget(2, mm);
        right_.setTarget(2, mm);
        const std::size_t before = view_->pointCount();
        frame.ribbon()->setText(core::ID_EDIT_DIS, QString::number(mm));
        panel_->confirm();
        ASSERT_TRUE(serveUntil([&] { return view_->pointCount() == before + 1; })) << mm;
    }

    void open(CMainFrame& frame) {
        panel_ = dynamic_cast<CCalibrationCtrlDlg*>(
            registry_.lookup(core::PanelSlot::CalibrationControl));
        view_ = dynamic_cast<CCalibrationDlg*>(registry_.lookup(core::PanelSlot::CalibrationView));
        ASSERT_TRUE(panel_ && view_);
        frame.onCommand(core::ID_CHECK_LEFT);
        frame.onCommand(core::ID_CHECK_SENSOR2);
    }

    sundrel::testing::ScratchFolder scratch_;
    std::string config_ = scratch_.file("config.ini");
    boxsim::SimulatedBox left_{box(frames::RailSide::Left)};
    boxsim::SimulatedBox right_{box(frames::RailSide::Right)};
    std::vector<core::UserMessage> messages_;
    core::PanelRegistry registry_;
    CCalibrationCtrlDlg* panel_ = nullptr;
    CCalibrationDlg* view_ = nullptr;
};

TEST_F(CalibrationRunTest, FiveReadingsGiveBackTheBoxsLineAndTheNextRunCarriesIt) {
    writeConfig(right_.devicePath());
    {
        core::PanelMessenger messenger(registry_);
        CMainFrame frame(messenger, config_);
        open(frame);
        panel_->finish();  // nothing calibrated yet
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, QString::fromUtf8("没有进行标定"));
        EXPECT_EQ(messages_[0].caption, QString::fromUtf8("提示"));

        panel_->connectBoxes();
        ASSERT_TRUE(panel_->isConnected());
        for (const double mm : {1.0, 2.0, 3.0, 4.0, 5.0}) {
            confirmAt(frame, mm);
        }
        // A bad sixth reading, removed again: the fit is the five readings'.
        confirmAt(frame, 9.0);
        left_.setTarget(2, 5.0);
        panel_->removeLast();
        EXPECT_EQ(view_->pointCount(), 5u);
        EXPECT_NEAR(view_->slope(), kTrueSlope, kTrueSlope * 1e-3);
        EXPECT_NEAR(view_->intercept(), kTrueIntercept, 1e-3);
        EXPECT_EQ(view_->measuredCurve()->name(), QString::fromUtf8("左侧传感器2#"));

        // 断开 then 连接 keeps the readings.
        panel_->disconnectBoxes();
        EXPECT_FALSE(panel_->isConnected());
        panel_->connectBoxes();
        EXPECT_EQ(view_->pointCount(), 5u);

        frame.onCommand(core::ID_CHECK_SENSOR3);  // the ribbon changes; 完成 keeps 2#
        panel_->finish();
        const double slope = frame.settings().leftEddy[1].slope;
        const double intercept = frame.settings().leftEddy[1].intercept;
        EXPECT_NEAR(slope, kTrueSlope, kTrueSlope * 1e-3);
        EXPECT_NEAR(intercept, kTrueIntercept, 1e-3);
        EXPECT_EQ(messages_.size(), 1u);

        // A new sensor starts a new set.
        panel_->confirm();
        EXPECT_TRUE(serveUntil([&] { return view_->pointCount() == 1; }));
        EXPECT_EQ(view_->measuredCurve()->name(), QString::fromUtf8("左侧传感器3#"));
        panel_->disconnectBoxes();

        // The next run's headers carry the new pair.
        frame.onCommand(core::IDC_BUTTONS_TART);
        auto* measure = dynamic_cast<acquisition::CMeasureCtrlDlg*>(
            registry_.lookup(core::PanelSlot::MeasureControl));
        ASSERT_TRUE(measure && measure->isRunning());
        serveFor(300ms);
        measure->positionEdit()->setText("0+1");
        measure->stop();
    }
    // Saved at exit.
    double stored = 0;
    core::readDouble("CALIBRATION_PARA", "dLeftEddy2Slope", &stored, config_);
    EXPECT_NEAR(stored, kTrueSlope, kTrueSlope * 1e-3);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(scratch_.path() / "runs")) {
        acquisition::RawFileHeader header{};
        std::ifstream(entry.path(), std::ios::binary)
            .read(reinterpret_cast<char*>(&header), sizeof header);
        const double headerSlope = header.leftEddy[1].slope;
        EXPECT_NEAR(headerSlope, kTrueSlope, kTrueSlope * 1e-3) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(CalibrationRunTest, WithTheRightBoxAbsentTheLeftSideStillCalibrates) {
    writeConfig(scratch_.file("no-such-box"));
    core::PanelMessenger messenger(registry_);
    CMainFrame frame(messenger, config_);
    open(frame);
    panel_->connectBoxes();
    ASSERT_TRUE(panel_->isConnected());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Port number is invalid or port is not opened in advance");
    EXPECT_EQ(messages_[0].caption, "error");
    confirmAt(frame, 1.0);
    confirmAt(frame, 4.0);
    EXPECT_NEAR(view_->slope(), kTrueSlope, kTrueSlope * 1e-2);
    panel_->disconnectBoxes();
}

}  // namespace
}  // namespace sundrel::app
