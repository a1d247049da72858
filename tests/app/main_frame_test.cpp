#include "app/ui/main_frame.h"

#include "analysis/ui/analyse_dlg.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include "test_support/scratch_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "app/ui/left_view.h"
#include "app/ui/ribbon_bar.h"
#include "app/ui/right_view.h"
#include "app/ui/splitter.h"
#include "app/ui/status_bar.h"
#include "core/look_table.h"
#include "core/panel_registry.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"
#include "core/wheel_encoder.h"

namespace sundrel::app {

using namespace core;
namespace {

namespace fs = std::filesystem;

// Stands in for a panel of a later part, to see what reaches its slot.
class RecordingPanel : public Panel {
public:
    std::vector<std::uintptr_t> codes;
    std::vector<std::uintptr_t> data;
    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override {
        codes.push_back(message.code);
        data.push_back(message.data);
        Panel::handlePanelMessage(message, lparam);
    }
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((folder_ / "user").string()));
        config_ = (folder_ / "config.ini").string();
        setUserMessageSink([this](const UserMessage& m) { messages_.push_back(m); });
    }
    void TearDown() override {
        frame_.reset();
        setUserMessageSink({});
    }

    void writeConfig(const std::string& text) { std::ofstream(config_) << text; }

    CMainFrame& open(const std::string& defaultConfig = {}) {
        messenger_ = std::make_unique<PanelMessenger>(registry_);
        // Recorders take the slots before the window's own panels can.
        registry_.registerPanel(PanelSlot::MeasureControl, &measure_);
        registry_.registerPanel(PanelSlot::AnalysisControl, &analysis_);
        frame_ = std::make_unique<CMainFrame>(*messenger_, config_, defaultConfig);
        frame_->show();
        return *frame_;
    }

    std::vector<QString> texts() const {
        std::vector<QString> result;
        for (const auto& m : messages_) {
            result.push_back(m.text);
        }
        return result;
    }

    sundrel::testing::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
    std::string config_;
    std::vector<UserMessage> messages_;
    PanelRegistry registry_;
    std::unique_ptr<PanelMessenger> messenger_;
    RecordingPanel measure_;
    RecordingPanel analysis_;
    std::unique_ptr<CMainFrame> frame_;
};

constexpr const char* kConfig =
    "[PORT_INFO]\nnPortLeft=3\nnPortRight=4\nnBaud=38400\nchParity=E\nnDatabits=8\nnStopbits=1\n"
    "[DEFAULT_PARA]\nnColor=215\nchLineName=line\ndTh30_100=0.1\ndWheelDia=150\nnEncoder=2000\n"
    "dThLine1=0.05\ndThLine2=0.1\n";

TEST_F(MainFrameTest, FirstStartWithoutConfigurationWarnsAndWritesOneAtExit) {
    CMainFrame& frame = open();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "error");
    EXPECT_EQ(messages_[0].text, "configuration file error");
    EXPECT_EQ(frame.currentLookId(), kDefaultLook);
    EXPECT_EQ(frame.windowTitle(), "Sundrel");
    EXPECT_EQ(frame.ribbon()->activeCategory(), 0);
    EXPECT_EQ(frame.leftView()->activeIndex(), 0);
    EXPECT_EQ(frame.rightView()->tabs()->currentIndex(), 0);
    EXPECT_EQ(frame.rightView()->tabs()->tabText(2), QString::fromUtf8(" 标定 "));
    EXPECT_FALSE(fs::exists(config_));
    frame_.reset();
    ASSERT_TRUE(fs::exists(config_));
    std::ifstream in(config_);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_NE(written.find("[PORT_INFO]"), std::string::npos);
    EXPECT_EQ(written.find("dEncoder"), std::string::npos);  // 0 is not above 0.003
}

// A crew's first start: the shipped settings are copied and used, quietly.
TEST_F(MainFrameTest, AFirstStartCopiesTheShippedSettingsAndSaysSo) {
    CMainFrame& frame = open(SUNDREL_SOURCE_DEFAULT_CONFIG);
    EXPECT_TRUE(messages_.empty());
    ASSERT_TRUE(fs::exists(config_));
    EXPECT_EQ(frame.statusBarWidget()->currentMessage(),
              QString::fromUtf8("已创建默认配置文件 config.ini"));
    const std::vector<std::pair<int, const char*>> shown = {
        {ID_COMBO_PORT_NO_LEFT, "COM1"},
        {ID_COMBO_PORT_NO_RIGHT, "COM2"},
        {IDC_COMBO_RATE, "115200"},
        {ID_COMBO_CRC, "NONE"},
        {IDC_COMBO_DATA_BITS, "8"},
        {ID_COMBO_STOP_BIT, "1"},
        {ID_THRESHOLD_30_100, "0.100"},
        {ID_THRESHOLD_1000_3000, "0.100"},
        {ID_EDIT_WHEEL_DIA, "150.000"},
        {ID_EDIT_ENCODER_NUM, "2000"},
        {ID_LINE_NAME, ""},
        {ID_OPERATION_STAFF, ""},
        {ID_FILE_PATH, ""},
        {ID_OPERATION_DEPARTMENT, ""},
    };
    for (const auto& [id, text] : shown) {
        EXPECT_EQ(frame.ribbon()->text(id), QString::fromUtf8(text)) << id;
    }
    // The shipped wheel and encoder are what their check would derive.
    const WheelEncoderSetting derived = checkWheelAndEncoder("150", "2000");
    EXPECT_EQ(std::int32_t{frame.settings().nCollectionCommand}, derived.pulsesPerFrame);
    EXPECT_NEAR(double{frame.settings().dEncoder}, derived.metresPerFrame, 0.5e-6);
    EXPECT_EQ(frame.currentLookId(), 210);

    frame_.reset();
    messages_.clear();
    open(SUNDREL_SOURCE_DEFAULT_CONFIG);  // the copy is not made twice
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(frame_->statusBarWidget()->currentMessage().isEmpty());
}

// A crew's file whose left port line went wrong: the warning comes, but a
// start and an exit keep its calibration, thresholds and wheel.
TEST_F(MainFrameTest, AFileWithoutALeftPortKeepsItsCalibrationThroughAStartAndExit) {
    writeConfig(
        "[PORT_INFO]\nnPortLeft=0\n[DEFAULT_PARA]\ndTh30_100=0.2\ndWheelDia=150\n"
        "[CALIBRATION_PARA]\ndLeftEddy1Slope=0.0123\n");
    CMainFrame& frame = open();
    EXPECT_EQ(texts(), std::vector<QString>{"configuration file error"});
    EXPECT_EQ(frame.ribbon()->text(ID_COMBO_PORT_NO_LEFT), "COM1");
    EXPECT_EQ(frame.ribbon()->text(ID_COMBO_PORT_NO_RIGHT), "COM2");
    EXPECT_EQ(frame.ribbon()->text(ID_THRESHOLD_30_100), "0.200");
    EXPECT_EQ(frame.ribbon()->text(ID_LINE_NAME), "");  // missing, not "0"
    frame_.reset();
    std::ifstream in(config_);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* line : {"nPortLeft=1\n", "dTh30_100=0.200000\n", "dWheelDia=150.000000\n",
                             "dLeftEddy1Slope=0.012300\n"}) {
        EXPECT_NE(saved.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(saved.find("dRightEddy1Slope"), std::string::npos) << "never loaded, never changed";
}

TEST_F(MainFrameTest, SettingsFillTheRibbonAndTheStatusText) {
    writeConfig(kConfig);
    CMainFrame& frame = open();
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(frame.currentLookId(), 215);
    EXPECT_EQ(frame.ribbon()->text(ID_COMBO_PORT_NO_LEFT), "COM3");
    EXPECT_EQ(frame.ribbon()->text(ID_COMBO_CRC), "EVEN");
    EXPECT_EQ(frame.ribbon()->text(IDC_COMBO_RATE), "38400");
    EXPECT_EQ(frame.ribbon()->text(ID_THRESHOLD_30_100), "0.100");
    EXPECT_EQ(frame.ribbon()->text(ID_EDIT_WHEEL_DIA), "150.000");
    EXPECT_EQ(frame.ribbon()->text(ID_LINE_NAME), "line");
    EXPECT_EQ(frame.statusBarWidget()->information(),
              QString::fromUtf8("绿色线表示的峰峰值为：0.050mm；红色线表示的峰峰值为：0.100mm。"));
    // The look's panel colour, from the start.
    EXPECT_EQ(frame.leftView()->panel(2)->backgroundColour(), QColor(224, 241, 252));
}

// A message over the status bar hides its panes for a while; the reading
// under the cursor must show all the same, and go when the cursor does.
TEST_F(MainFrameTest, TheCursorReadoutShowsOverMessagesAndGoesWhenCleared) {
    writeConfig(kConfig);
    CMainFrame& frame = open();
    frame.show();
    frame.showStatus(QString::fromUtf8("报表已输出"), 15000);
    frame.showReadout(QString::fromUtf8("位置：35km+200.25m    左轨：0.123mm"));
    auto* label = frame.statusBarWidget()->findChild<QLabel*>("statusReadout");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), QString::fromUtf8("位置：35km+200.25m    左轨：0.123mm"));
    EXPECT_FALSE(label->geometry().intersects(frame.statusBarWidget()->progressBar()->geometry()));
    frame.showReadout({});
    EXPECT_FALSE(label->isVisible());
}

// The operator sees which device a port number opens: the mapped one, or
// /dev/ttyS(n-1) without an entry.
TEST_F(MainFrameTest, PortCombosShowTheDeviceEachPortOpens) {
    writeConfig(std::string(kConfig) + "[PORT_DEVICES]\nCOM3=/dev/pts/7\n");
    CMainFrame& frame = open();
    auto* left = qobject_cast<QComboBox*>(frame.ribbon()->control(ID_COMBO_PORT_NO_LEFT));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->toolTip(), "/dev/pts/7");  // COM3 is chosen
    const int com1 = left->findText("COM1");
    ASSERT_GE(com1, 0);
    EXPECT_EQ(left->itemData(com1, Qt::ToolTipRole).toString(), "/dev/ttyS0");
    left->setCurrentIndex(com1);
    EXPECT_EQ(left->toolTip(), "/dev/ttyS0");
}

// What a file manager's double-click runs: the recording is shown, not the
// empty acquisition page.
TEST_F(MainFrameTest, ARecordingOpenedAtStartShowsTheAnalysisWithTheRawWaveform) {
    CMainFrame& frame = open();
    auto* page =
        dynamic_cast<analysis::CAnalyseDlg*>(registry_.lookup(PanelSlot::AnalysisContainer));
    ASSERT_NE(page, nullptr);
    page->tabs()->setCurrentIndex(3);
    frame.openRecording(QString::fromStdString((folder_ / "20261210223000_left.raw").string()));
    EXPECT_EQ(frame.ribbon()->activeCategory(), 1);
    EXPECT_EQ(frame.leftView()->activeIndex(), 1);
    EXPECT_EQ(frame.rightView()->tabs()->currentIndex(), 1);
    EXPECT_EQ(page->tabs()->currentWidget(), page->view(PanelSlot::RawWaveformView));
    EXPECT_EQ(analysis_.codes, std::vector<std::uintptr_t>{}) << "the recorder took slot 15";
}

// The line settings stand in "采集" and "标定": one value, shown in both.
TEST_F(MainFrameTest, LineSettingsStayInStepInBothCategories) {
    writeConfig(kConfig);
    CMainFrame& frame = open();
    for (const int id : {ID_COMBO_PORT_NO_LEFT, ID_COMBO_PORT_NO_RIGHT, IDC_COMBO_RATE,
                         ID_COMBO_CRC, IDC_COMBO_DATA_BITS, ID_COMBO_STOP_BIT}) {
        const std::vector<QWidget*> copies = frame.ribbon()->controls(id);
        ASSERT_EQ(copies.size(), 2u) << id;
        auto* acquisition = qobject_cast<QComboBox*>(copies[0]);
        auto* calibration = qobject_cast<QComboBox*>(copies[1]);
        ASSERT_TRUE(acquisition && calibration) << id;
        EXPECT_EQ(calibration->currentText(), acquisition->currentText()) << "filled " << id;
        for (auto [from, to] : {std::pair{acquisition, calibration}, {calibration, acquisition}}) {
            const int other = (from->currentIndex() + 1) % from->count();
            from->setCurrentIndex(other);  // as the operator picks an item
            EXPECT_EQ(to->currentText(), from->currentText()) << id;
            EXPECT_EQ(frame.ribbon()->text(id), from->currentText()) << id;
        }
    }
    EXPECT_EQ(frame.text(ID_COMBO_CRC), frame.ribbon()->text(ID_COMBO_CRC));
}

TEST_F(MainFrameTest, TheThreeSidesFollowTheRibbonAndTheTabs) {
    CMainFrame& frame = open();
    QTabBar* categories = frame.ribbon()->categoryTabs();
    QTest::mouseClick(categories, Qt::LeftButton, {}, categories->tabRect(2).center());
    EXPECT_EQ(frame.ribbon()->activeCategory(), 2);
    EXPECT_EQ(frame.leftView()->activeIndex(), 2);
    EXPECT_EQ(frame.rightView()->tabs()->currentIndex(), 2);

    QTabBar* pages = frame.rightView()->tabs()->tabBar();
    QTest::mouseClick(pages, Qt::LeftButton, {}, pages->tabRect(1).center());
    EXPECT_EQ(frame.rightView()->tabs()->currentIndex(), 1);
    EXPECT_EQ(frame.leftView()->activeIndex(), 1);
    EXPECT_EQ(frame.ribbon()->activeCategory(), 1);
}

// The mouse wheel and the arrow keys over the category tabs change the
// category as a click does; the program's own change tells nobody.
TEST_F(MainFrameTest, EveryWayOfChangingTheCategoryKeepsTheThreeSidesInStep) {
    CMainFrame& frame = open();
    QTabBar* categories = frame.ribbon()->categoryTabs();
    std::vector<int> told;
    QObject::connect(frame.ribbon(), &CMyMFCRibbonBar::categoryChanged,
                     [&](int index) { told.push_back(index); });
    const auto inStep = [&](int index) {
        EXPECT_EQ(categories->currentIndex(), index);
        EXPECT_EQ(frame.ribbon()->activeCategory(), index);
        EXPECT_EQ(frame.leftView()->activeIndex(), index);
        EXPECT_EQ(frame.rightView()->tabs()->currentIndex(), index);
    };
    categories->setFocus();
    QTest::keyClick(categories, Qt::Key_Right);
    inStep(1);
    QTest::keyClick(categories, Qt::Key_Right);
    inStep(2);
    QTest::keyClick(categories, Qt::Key_Left);
    inStep(1);

    const auto wheel = [&](int delta) {
        const QPointF at = categories->tabRect(1).center();
        QWheelEvent event(at, categories->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(categories, &event);
    };
    wheel(-120);  // towards the user: the next category
    inStep(2);
    wheel(120);
    wheel(120);
    inStep(0);
    EXPECT_EQ(told, (std::vector<int>{1, 2, 1, 2, 1, 0}));

    frame.ribbon()->activateCategory(2);
    EXPECT_EQ(told.size(), 6u);
    EXPECT_EQ(categories->currentIndex(), 2);
}

// Under every look the operator can read the status bar, the dialogs and the
// ribbon's check boxes, and tell a checked sensor from an unchecked one.
TEST_F(MainFrameTest, EveryLookKeepsTextReadableAndCheckStatesVisible) {
    CMainFrame& frame = open();
    frame.showActivity(2);
    const auto rgb = [](const QColor& c) { return LookRgb{c.red(), c.green(), c.blue()}; };
    const auto contrast = [&](const QColor& a, const QColor& b) {
        return contrastRatio(rgb(a), rgb(b));
    };
    auto* checked = qobject_cast<QCheckBox*>(frame.ribbon()->control(ID_CHECK_SENSOR1));
    auto* unchecked = qobject_cast<QCheckBox*>(frame.ribbon()->control(ID_CHECK_SENSOR2));
    ASSERT_TRUE(checked && unchecked && checked->isChecked() && !unchecked->isChecked());
    auto* information = frame.statusBarWidget()->findChild<QLabel*>("statusInformation");
    ASSERT_NE(information, nullptr);
    for (const int look : {kLookWindows2000, kLookOfficeXp, kLookWindowsXp, kLookOffice2003,
                           kLookVs2005, kLookVs2008, kLookOffice2007Blue, kLookOffice2007Black,
                           kLookOffice2007Silver, kLookOffice2007Aqua, kLookWindows7}) {
        frame.applicationLook(look);
        const QPalette app = QApplication::palette();
        EXPECT_GE(contrast(app.color(QPalette::WindowText), app.color(QPalette::Window)), 4.5)
            << look << ": dialogs and menus";
        EXPECT_GE(contrast(app.color(QPalette::ButtonText), app.color(QPalette::Button)), 4.5)
            << look;
        const QStatusBar* bar = frame.statusBarWidget();
        EXPECT_GE(contrast(information->palette().color(information->foregroundRole()),
                           bar->palette().color(bar->backgroundRole())),
                  4.5)
            << look << ": status bar";
        EXPECT_GE(contrast(unchecked->palette().color(QPalette::WindowText),
                           unchecked->parentWidget()->palette().color(QPalette::Window)),
                  4.5)
            << look << ": check box label";

        // The check mark: somewhere in the indicator the checked box differs
        // from the unchecked one as much as a visible mark must.
        QStyleOptionButton option;
        option.initFrom(checked);
        const QRect indicator =
            checked->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, checked);
        const QImage on = checked->grab().toImage();
        const QImage off = unchecked->grab().toImage();
        double strongest = 1;
        for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
            for (int x = indicator.left(); x <= indicator.right(); ++x) {
                strongest =
                    std::max(strongest, contrast(on.pixelColor(x, y), off.pixelColor(x, y)));
            }
        }
        EXPECT_GE(strongest, 3.0) << look << ": check mark";
    }
}

TEST_F(MainFrameTest, PanelsTakeALooksColourFromTheSecondChoiceOn) {
    CMainFrame& frame = open();
    const QColor before = measure_.backgroundColour();
    frame.onCommand(kLookOffice2007Blue);  // the user's first choice: nothing sent
    EXPECT_TRUE(measure_.codes.empty());
    EXPECT_EQ(measure_.backgroundColour(), before);
    frame.onCommand(kLookOffice2007Black);  // the second: every panel is told
    ASSERT_EQ(measure_.codes, std::vector<std::uintptr_t>{2});
    EXPECT_EQ(measure_.data[0], 0xF0EFE7u);
    EXPECT_EQ(measure_.backgroundColour(), QColor(231, 239, 240));
    frame.onCommand(kLookVs2008);  // no colour: no broadcast
    EXPECT_EQ(measure_.codes.size(), 1u);
    EXPECT_EQ(QSettings("Tavik_OEM", "Sundrel").value("ApplicationLook").toInt(), kLookVs2008);
    EXPECT_EQ(std::int32_t{frame.settings().nColor}, kLookVs2008);
}

TEST_F(MainFrameTest, RibbonCommandsReachTheirPanels) {
    CMainFrame& frame = open();
    for (int id : {IDC_BUTTONS_TART, ID_BUTTON_STOP}) {
        frame.onCommand(id);
    }
    for (int id :
         {ID_FILE_OPEN, ID_BTN_OPEN_FILE, ID_BTN_2FILE, ID_BTN_1FILE, ID_BTN_EXPORT_REPORT}) {
        frame.onCommand(id);
    }
    EXPECT_EQ(measure_.codes, (std::vector<std::uintptr_t>{3, 7}));
    EXPECT_EQ(analysis_.codes, (std::vector<std::uintptr_t>{10, 10, 10, 11, 20}));
    frame.onCommand(ID_BTN_MAX_MIN_BUTTON);
    EXPECT_TRUE(frame.ribbon()->isMinimised());
    frame.onCommand(ID_BTN_MAX_MIN_BUTTON);
    EXPECT_FALSE(frame.ribbon()->isMinimised());
}

TEST_F(MainFrameTest, WheelAndEncoderAreCheckedThenApplied) {
    writeConfig(kConfig);
    CMainFrame& frame = open();
    struct Case {
        const char* wheel;
        const char* encoder;
        const char* message;
    };
    const std::vector<Case> rejected = {
        {"99.9", "2000", "车轮直径设置不合理！"},
        {"300.1", "2000", "车轮直径设置不合理！"},
        {"150", "999", "编码器的脉冲个数设置不合理！"},
        {"150", "10001", "编码器的脉冲个数设置不合理！"},
    };
    for (const Case& c : rejected) {
        messages_.clear();
        frame.ribbon()->setText(ID_EDIT_WHEEL_DIA, c.wheel);
        frame.ribbon()->setText(ID_EDIT_ENCODER_NUM, c.encoder);
        frame.onCommand(ID_BUTTON_WHEEL_ENCODER_OK);
        ASSERT_EQ(texts(), std::vector<QString>{QString::fromUtf8(c.message)}) << c.wheel;
        EXPECT_EQ(messages_[0].caption, "Sundrel");
        EXPECT_EQ(std::int32_t{frame.settings().nCollectionCommand}, 0);  // nothing changed
    }
    messages_.clear();
    frame.ribbon()->setText(ID_EDIT_WHEEL_DIA, "150");
    frame.ribbon()->setText(ID_EDIT_ENCODER_NUM, "2000");
    frame.onCommand(ID_BUTTON_WHEEL_ENCODER_OK);
    EXPECT_EQ(texts(), std::vector<QString>{QString::fromUtf8("设置成功")});
    EXPECT_EQ(std::int32_t{frame.settings().nCollectionCommand}, 85);
    EXPECT_EQ(std::int32_t{frame.settings().nEncoder}, 2000);
    EXPECT_DOUBLE_EQ(double{frame.settings().dEncoder}, 150 * 3.1415926 / (2000.0 / 85) / 1000);
    std::ifstream in(config_);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(saved.find("nCollectionCommand=85"), std::string::npos);
    EXPECT_NE(saved.find("dEncoder=0.020028"), std::string::npos);

    frame.ribbon()->setText(ID_EDIT_WHEEL_DIA, "300");  // the upper end is accepted
    frame.onCommand(ID_BUTTON_WHEEL_ENCODER_OK);
    EXPECT_EQ(texts().back(), QString::fromUtf8("设置成功"));
}

TEST_F(MainFrameTest, ExactlyOneCalibrationSideAndSensorAreChecked) {
    CMainFrame& frame = open();
    CMyMFCRibbonBar* ribbon = frame.ribbon();
    auto checked = [&] {
        std::vector<int> ids;
        for (int id : {ID_CHECK_LEFT, ID_CHECK_RIGHT, ID_CHECK_SENSOR1, ID_CHECK_SENSOR2,
                       ID_CHECK_SENSOR3, ID_CHECK_SENSOR4}) {
            if (ribbon->isChecked(id)) {
                ids.push_back(id);
            }
        }
        return ids;
    };
    EXPECT_EQ(checked(), (std::vector<int>{ID_CHECK_LEFT, ID_CHECK_SENSOR1}));
    frame.ribbon()->activateCategory(2);
    QTest::mouseClick(ribbon->control(ID_CHECK_SENSOR3), Qt::LeftButton);
    EXPECT_EQ(checked(), (std::vector<int>{ID_CHECK_LEFT, ID_CHECK_SENSOR3}));
    QTest::mouseClick(ribbon->control(ID_CHECK_SENSOR3), Qt::LeftButton);  // stays set
    EXPECT_EQ(checked(), (std::vector<int>{ID_CHECK_LEFT, ID_CHECK_SENSOR3}));
    QTest::mouseClick(ribbon->control(ID_CHECK_RIGHT), Qt::LeftButton);
    EXPECT_EQ(checked(), (std::vector<int>{ID_CHECK_RIGHT, ID_CHECK_SENSOR3}));
    EXPECT_EQ(frame.calibrationChoice().sensor, 3);
}

// The sensor check boxes read 1# to 4# down their columns, two to a column.
TEST_F(MainFrameTest, SensorCheckBoxesStandInTheirOrder) {
    CMainFrame& frame = open();
    std::vector<std::pair<int, int>> cells;  // (column, row) of 1#..4#
    for (const int id : {ID_CHECK_SENSOR1, ID_CHECK_SENSOR2, ID_CHECK_SENSOR3, ID_CHECK_SENSOR4}) {
        QWidget* box = frame.ribbon()->control(id);
        ASSERT_NE(box, nullptr);
        auto* grid = qobject_cast<QGridLayout*>(box->parentWidget()->layout()->itemAt(0)->layout());
        ASSERT_NE(grid, nullptr);
        int row = 0;
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        grid->getItemPosition(grid->indexOf(box), &row, &column, &rowSpan, &columnSpan);
        cells.emplace_back(column, row);
    }
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {2, 0}, {2, 1}}));
}

TEST_F(MainFrameTest, TheLeftColumnIs280PixelsWide) {
    CMainFrame& frame = open();
    frame.resize(1200, 700);
    // The resize reaches the splitter through the event loop.
    (void)QTest::qWaitFor(
        [&] { return frame.splitter()->sizes().front() == CMainFrame::kLeftColumnWidth; }, 5000);
    EXPECT_EQ(frame.splitter()->sizes().front(), CMainFrame::kLeftColumnWidth);
}

}  // namespace
}  // namespace sundrel::app
