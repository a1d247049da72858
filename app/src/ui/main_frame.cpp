#include "app/ui/main_frame.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QSettings>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "acquisition/port_devices.h"
#include "analysis/ui/analyse_ctrl_dlg.h"
#include "analysis/ui/analyse_dlg.h"
#include "app/ui/left_view.h"
#include "app/ui/look_style.h"
#include "app/ui/ribbon_bar.h"
#include "app/ui/right_view.h"
#include "app/ui/splitter.h"
#include "app/ui/status_bar.h"
#include "core/look_table.h"
#include "core/ribbon_ids.h"
#include "core/ribbon_settings.h"
#include "core/user_messages.h"
#include "core/wheel_encoder.h"

namespace sundrel::app {

using namespace core;
namespace {

constexpr const char* kLookKey = "ApplicationLook";

QSettings userSettings() {
    return QSettings(QStringLiteral("Tavik_OEM"), QStringLiteral("Sundrel"));
}

}  // namespace

int storedLook() {
    return userSettings().value(kLookKey, kDefaultLook).toInt();
}

void storeLook(int lookId) {
    userSettings().setValue(kLookKey, lookId);
}

std::string defaultConfigPath() {
    const QString besideProgram =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/sundrel/config.ini");
    for (const QString& candidate :
         {besideProgram, QStringLiteral(SUNDREL_INSTALLED_DEFAULT_CONFIG)}) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).absoluteFilePath().toStdString();
        }
    }
    return {};
}

CMainFrame::CMainFrame(PanelMessenger& messenger, std::string configPath,
                       const std::string& defaultConfigPath, QWidget* parent)
    : QMainWindow(parent),
      messenger_(messenger),
      configPath_(std::move(configPath)),
      settingsFile_(configPath_),
      context_{messenger, settings_, *this, calibration_, *this, configPath_},
      look_(storedLook()) {
    setObjectName("CMainFrame");
    setWindowTitle(QString::fromUtf8(kProgramName));
    const bool firstStart = copyDefaultSettings(defaultConfigPath, configPath_);
    if (settingsFile_.load(settings_) != acquisition::StatusCode::Success) {
        reportStatus(this, acquisition::StatusCode::ConfigurationFileError, "error");
    } else {
        look_ = settings_.nColor;
    }
    setCurrentLook(look_);
    PanelRegistry& registry = messenger_.registry();

    // Client area: the left view registers itself and its three panels, then
    // the splitter is registered.
    splitter_ = new CMySpliterWnd(this);
    leftView_ = new CSundrelView(context_, splitter_);
    splitter_->addWidget(leftView_);
    registry.registerPanel(PanelSlot::Splitter, splitter_);
    registry.registerPanel(PanelSlot::MainWindow, this);

    ribbon_ = new CMyMFCRibbonBar(this);
    setMenuWidget(ribbon_);
    registry.registerPanel(PanelSlot::RibbonBar, ribbon_);
    connect(ribbon_, &CMyMFCRibbonBar::command, this, &CMainFrame::onCommand);
    connect(ribbon_, &CMyMFCRibbonBar::categoryChanged, this, &CMainFrame::onCategoryChanged);
    fillRibbonFromSettings();
    ribbon_->activateCategory(0);
    showCalibrationChoice();

    statusBar_ = new SundrelStatusBar(this);
    setStatusBar(statusBar_);
    registry.registerPanel(PanelSlot::StatusBar, statusBar_);
    statusBar_->setInformation(thresholdLinesText(settings_.dThLine1, settings_.dThLine2));
    if (firstStart) {
        pendingStatus_ = QString::fromUtf8(kDefaultConfigCreatedText);
    }

    // The pages: the right view creates the tab control and registers
    // 24..32, 18, 14, 16, then 22 and 13.
    rightView_ = new CRightView(context_, splitter_);
    splitter_->addWidget(rightView_);
    setCentralWidget(splitter_);
    resize(1280, 800);
    splitter_->setSizes({width() / 5, width() - width() / 5});

    applicationLook(look_);  // the first call tells no panel
}

CMainFrame::~CMainFrame() {
    settingsFile_.save(settings_);
}

void CMainFrame::fillRibbonFromSettings() {
    for (const RibbonValue& value : ribbonValuesFromSettings(settings_)) {
        ribbon_->setText(value.commandId, QString::fromStdString(value.text));
    }
    showPortDevices();
}

void CMainFrame::showPortDevices() {
    // Each port's item tells which device it opens ([PORT_DEVICES] or /dev/ttyS(n-1)).
    std::vector<QWidget*> ports;
    for (QWidget* control : ribbon_->controls(ID_COMBO_PORT_NO_LEFT)) {
        ports.push_back(control);
    }
    for (QWidget* control : ribbon_->controls(ID_COMBO_PORT_NO_RIGHT)) {
        ports.push_back(control);
    }
    for (QWidget* control : ports) {
        auto* combo = qobject_cast<QComboBox*>(control);
        if (combo == nullptr) {
            continue;
        }
        for (int i = 0; i < combo->count(); ++i) {
            const int port = combo->itemText(i).mid(3).toInt();
            const std::string device = acquisition::portDevicePath(port, configPath_);
            combo->setItemData(i, QString::fromStdString(device), Qt::ToolTipRole);
        }
        combo->setToolTip(combo->currentData(Qt::ToolTipRole).toString());
        connect(combo, &QComboBox::currentIndexChanged, combo,
                [combo] { combo->setToolTip(combo->currentData(Qt::ToolTipRole).toString()); });
    }
}

void CMainFrame::applicationLook(int lookId) {
    look_ = lookId;
    settings_.nColor = lookId;
    setCurrentLook(lookId);
    applyLookStyle(lookId, this);
    ribbon_->setLookChecked(lookId);
    storeLook(lookId);
    const auto colour = lookColour(lookId);
    if (lookCalls_ > 1 && colour) {
        const PanelMessage message{static_cast<std::uintptr_t>(PanelCode::ApplyLook), *colour, 0,
                                   0};
        for (const PanelSlot slot : kLookBroadcastOrder) {
            messenger_.send(slot, message);
        }
    }
    ++lookCalls_;
}

void CMainFrame::sendToPanel(PanelSlot slot, PanelCode code) {
    const PanelMessage message{static_cast<std::uintptr_t>(code), 0, 0, 0};
    messenger_.send(slot, message);
}

void CMainFrame::onCommand(int id) {
    if (id >= kLookWindows2000 && id <= kLookWindows7) {
        applicationLook(id);
        return;
    }
    switch (id) {
        case IDC_BUTTONS_TART:
            sendToPanel(PanelSlot::MeasureControl, PanelCode::StartMeasurement);
            break;
        case ID_BUTTON_STOP:
            sendToPanel(PanelSlot::MeasureControl, PanelCode::Stop);
            break;
        case ID_BTN_MAX_MIN_BUTTON:
            ribbon_->setMinimised(!ribbon_->isMinimised());
            break;
        case ID_SELECT_PATH:
            selectStorageFolder();
            break;
        case ID_CHECK_LEFT:
            calibration_.chooseSide(CalibrationChoice::Side::Left);
            break;
        case ID_CHECK_RIGHT:
            calibration_.chooseSide(CalibrationChoice::Side::Right);
            break;
        case ID_CHECK_SENSOR1:
            calibration_.chooseSensor(1);
            break;
        case ID_CHECK_SENSOR2:
            calibration_.chooseSensor(2);
            break;
        case ID_CHECK_SENSOR3:
            calibration_.chooseSensor(3);
            break;
        case ID_CHECK_SENSOR4:
            calibration_.chooseSensor(4);
            break;
        case ID_FILE_OPEN:
        case ID_BTN_OPEN_FILE:
        case ID_BTN_2FILE:
            sendToPanel(PanelSlot::AnalysisControl, PanelCode::OpenFile);
            break;
        case ID_BTN_1FILE:
            sendToPanel(PanelSlot::AnalysisControl, PanelCode::CustomFileName);
            break;
        case ID_BTN_EXPORT_REPORT:
            sendToPanel(PanelSlot::AnalysisControl, PanelCode::ExportReport);
            break;
        case ID_BUTTON_WHEEL_ENCODER_OK:
            checkWheelAndEncoder();
            break;
        case ID_APP_ABOUT:
            showAbout();
            break;
        case ID_APP_EXIT:
            close();
            break;
        default:
            break;
    }
    showCalibrationChoice();
}

void CMainFrame::showCalibrationChoice() {
    using Side = CalibrationChoice::Side;
    ribbon_->setChecked(ID_CHECK_LEFT, calibration_.side == Side::Left);
    ribbon_->setChecked(ID_CHECK_RIGHT, calibration_.side == Side::Right);
    ribbon_->setChecked(ID_CHECK_SENSOR1, calibration_.sensor == 1);
    ribbon_->setChecked(ID_CHECK_SENSOR2, calibration_.sensor == 2);
    ribbon_->setChecked(ID_CHECK_SENSOR3, calibration_.sensor == 3);
    ribbon_->setChecked(ID_CHECK_SENSOR4, calibration_.sensor == 4);
}

void CMainFrame::checkWheelAndEncoder() {
    const WheelEncoderSetting setting =
        app::checkWheelAndEncoder(ribbon_->text(ID_EDIT_WHEEL_DIA).toStdString(),
                                  ribbon_->text(ID_EDIT_ENCODER_NUM).toStdString());
    switch (setting.verdict) {
        case WheelEncoderSetting::Verdict::BadWheel:
            showProgramMessage(this, QString::fromUtf8(kBadWheelText));
            return;
        case WheelEncoderSetting::Verdict::BadEncoder:
            showProgramMessage(this, QString::fromUtf8(kBadEncoderText));
            return;
        case WheelEncoderSetting::Verdict::Accepted:
            break;
    }
    settings_.nEncoder = setting.pulsesPerTurn;
    settings_.nCollectionCommand = setting.pulsesPerFrame;
    settings_.dWheelDia = setting.wheelDiameterMm;
    settings_.dEncoder = setting.metresPerFrame;
    settingsFile_.save(settings_);
    showProgramMessage(this, QString::fromUtf8(kSettingAcceptedText));
}

void CMainFrame::selectStorageFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QString::fromUtf8("选择存储目录"), ribbon_->text(ID_FILE_PATH));
    if (!folder.isEmpty()) {
        ribbon_->setText(ID_FILE_PATH, folder);
    }
}

void CMainFrame::showAbout() {
    QDialog about(this);
    about.setWindowTitle(QString::fromUtf8("版本信息"));
    auto* layout = new QVBoxLayout(&about);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(&about);
    icon->setPixmap(windowIcon().pixmap(48, 48));
    row->addWidget(icon);
    row->addWidget(new QLabel(QString::fromUtf8("Sundrel，1.0 版"), &about));
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(&about);
    buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    layout->addWidget(buttons);
    about.exec();
}

void CMainFrame::showActivity(int index) {
    ribbon_->activateCategory(index);
    onCategoryChanged(index);
}

void CMainFrame::openRecording(const QString& path) {
    PanelRegistry& registry = messenger_.registry();
    if (auto* panel =
            dynamic_cast<analysis::CAnalyseCtrlDlg*>(registry.lookup(PanelSlot::AnalysisControl))) {
        panel->analyseFile(path);
    }
    showActivity(1);
    if (auto* page =
            dynamic_cast<analysis::CAnalyseDlg*>(registry.lookup(PanelSlot::AnalysisContainer))) {
        page->tabs()->setCurrentWidget(page->view(PanelSlot::RawWaveformView));
    }
}

bool CMainFrame::showAnalysisTab(QChar letter) {
    auto* page = dynamic_cast<analysis::CAnalyseDlg*>(
        messenger_.registry().lookup(PanelSlot::AnalysisContainer));
    return page != nullptr && page->showTab(letter);
}

void CMainFrame::showAnalysisRange(double fromMetres, double toMetres) {
    if (auto* page = dynamic_cast<analysis::CAnalyseDlg*>(
            messenger_.registry().lookup(PanelSlot::AnalysisContainer))) {
        page->setVisibleRange(fromMetres, toMetres);
    }
}

void CMainFrame::onCategoryChanged(int index) {
    const PanelMessage switchTo{static_cast<std::uintptr_t>(PanelCode::SwitchActivity),
                                static_cast<std::uintptr_t>(index), 0, 0};
    messenger_.send(PanelSlot::LeftView, switchTo);
    messenger_.send(PanelSlot::RightView, switchTo);
}

void CMainFrame::handlePanelMessage(const PanelMessage& message, std::intptr_t) {
    if (codeOf(message) == PanelCode::SwitchActivity) {
        const auto index = static_cast<int>(message.data);
        if (index != ribbon_->activeCategory()) {
            ribbon_->activateCategory(index);
        }
    }
}

QString CMainFrame::text(int id) const {
    return ribbon_ != nullptr ? ribbon_->text(id) : QString();
}

bool CMainFrame::isChecked(int id) const {
    return ribbon_ != nullptr && ribbon_->isChecked(id);
}

void CMainFrame::showStatus(const QString& text, int timeoutMs) {
    if (statusBar_ == nullptr) {
        return;
    }
    if (timeoutMs > 0) {
        statusBar_->showMessage(text, timeoutMs);  // over the panes for a while
    } else {
        statusBar_->setInformation(text);  // the information pane, until the next
    }
}

void CMainFrame::showReadout(const QString& text) {
    if (statusBar_ != nullptr) {
        statusBar_->setReadout(text);
    }
}

void CMainFrame::showProgress(int percent) {
    if (statusBar_ != nullptr) {
        statusBar_->progressBar()->setValue(percent);
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A message over the panes hides them only when they are on screen.
    if (!pendingStatus_.isEmpty() && statusBar_ != nullptr) {
        statusBar_->showMessage(pendingStatus_, kStartMessageMs);
        pendingStatus_.clear();
    }
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized() || splitter_ == nullptr) {
        return;
    }
    const int client = event->size().width();
    if (client > kLeftColumnWidth) {
        const int rest = client - kLeftColumnWidth - splitter_->handleWidth();
        splitter_->setSizes({kLeftColumnWidth, std::max(100, rest)});
    }
}

}  // namespace sundrel::app
