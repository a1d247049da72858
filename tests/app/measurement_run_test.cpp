// A whole run through the main window with two simulated boxes: start, a few
// seconds of both rails, pause, continue, stop; then the files hold every
// byte the boxes sent, and they analyse.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QSettings>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "acquisition/raw_file_header.h"
#include "acquisition/ui/measure_ctrl_dlg.h"
#include "app/ui/main_frame.h"
#include "boxsim/simulated_box.h"
#include "core/panel_registry.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"
#include "kestova/kestova.h"
#include "test_support/scratch_folder.h"
#include "test_support/serve_events.h"

namespace sundrel::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using sundrel::testing::serveFor;

std::vector<char> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

boxsim::BoxOptions box(frames::RailSide side, const std::string& tee) {
    boxsim::BoxOptions options;
    options.side = side;
    options.rateFps = 480;
    options.track.lengthM = 100;
    options.track.left.corrugations = {{240, 0.05}};
    options.teePath = tee;
    return options;
}

TEST(MeasurementRun, BothRailsFromStartToStopThroughTheMainWindow) {
    const sundrel::testing::ScratchFolder scratch;
    const fs::path folder = scratch.path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((folder / "user").string()));
    std::vector<core::UserMessage> messages;
    core::setUserMessageSink([&](const core::UserMessage& m) { messages.push_back(m); });
    boxsim::SimulatedBox left(box(frames::RailSide::Left, scratch.file("tee-left")));
    boxsim::SimulatedBox right(box(frames::RailSide::Right, scratch.file("tee-right")));
    const std::string config = scratch.file("config.ini");
    std::ofstream(config)
        << "[PORT_INFO]\nnPortLeft=1\nnPortRight=2\nnBaud=115200\nchParity=N\nnDatabits=8\n"
           "nStopbits=1\nnCollectionCommand=85\nnDataBytesTrigger=1200\n"
           "[DEFAULT_PARA]\nchFilePath="
        << (folder / "runs").string()
        << "\nnSerialReserveData=2500\ndYmax=0.5\ndXmax=100\n"
           "[CALIBRATION_PARA]\ndEncoder=0.02\ndLeftEddy1Slope=0.0001\ndLeftEddy2Slope=0.000102\n"
           "dLeftEddy3Slope=0.000104\ndLeftEddy4Slope=0.000106\ndRightEddy1Slope=0.000108\n"
           "dRightEddy2Slope=0.00011\ndRightEddy3Slope=0.000112\ndRightEddy4Slope=0.000114\n"
           "[PORT_DEVICES]\nCOM1="
        << left.devicePath() << "\nCOM2=" << right.devicePath() << "\n";
    fs::create_directories(folder / "runs");

    {
        core::PanelRegistry registry;
        core::PanelMessenger messenger(registry);
        CMainFrame frame(messenger, config);
        auto* panel = dynamic_cast<acquisition::CMeasureCtrlDlg*>(
            registry.lookup(core::PanelSlot::MeasureControl));
        ASSERT_NE(panel, nullptr);
        frame.onCommand(core::IDC_BUTTONS_TART);  // the ribbon's 开始
        ASSERT_TRUE(panel->isRunning()) << (messages.empty() ? "" : messages[0].text.toStdString());
        serveFor(1500ms);
        panel->pauseOrContinue();
        serveFor(300ms);
        panel->pauseOrContinue();
        serveFor(1000ms);
        panel->positionEdit()->setText("0+100");
        frame.onCommand(core::ID_BUTTON_STOP);  // the ribbon's 停止
        ASSERT_FALSE(panel->isRunning());
    }
    left.stop();
    right.stop();
    EXPECT_TRUE(messages.empty());

    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder / "runs")) {
        files.push_back(entry.path());
    }
    ASSERT_EQ(files.size(), 2u);
    for (const fs::path& file : files) {
        const bool isLeft = file.string().find("_left.raw") != std::string::npos;
        const auto bytes = contents(file);
        const auto sent = contents(scratch.file(isLeft ? "tee-left" : "tee-right"));
        acquisition::RawFileHeader trailer{};
        ASSERT_GE(bytes.size(), 2 * sizeof trailer);
        std::memcpy(&trailer, bytes.data() + bytes.size() - sizeof trailer, sizeof trailer);
        const std::size_t stored = trailer.dataByteCount;
        EXPECT_EQ(bytes.size(), 2 * sizeof trailer + stored);
        EXPECT_GT(stored, 12000u) << "about 2.8 s at 480 frames/s";
        ASSERT_LE(stored, sent.size());
        EXPECT_TRUE(
            std::equal(bytes.begin() + sizeof trailer, bytes.end() - sizeof trailer, sent.begin()))
            << "every byte the box sent, in order";
        EXPECT_EQ(Analyse(file.c_str(), 0.1, 0.1, 0.1, 0.1), 0) << file;
    }
    core::setUserMessageSink({});
}

}  // namespace
}  // namespace sundrel::app
