#include "acquisition/ui/measure_ctrl_dlg.h"

#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <cstdlib>
#include <ctime>

#include "acquisition/measurement_rules.h"
#include "acquisition/port_devices.h"
#include "acquisition/raw_file_naming.h"
#include "acquisition/ui/ribbon_run_setup.h"
#include "core/look_table.h"
#include "core/profile_helpers.h"
#include "core/ribbon_ids.h"
#include "core/settings_record.h"
#include "core/user_messages.h"
#include "platform/gbk_text.h"

namespace sundrel::acquisition {
namespace {

using core::PanelCode;
using core::PanelSlot;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string fieldText(const char* field, std::size_t size) {
    return platform::gbkToUtf8(platform::readGbkField(field, size));
}

std::string localTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return timestampText(local);
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

CMeasureCtrlDlg::CMeasureCtrlDlg(const core::PanelContext& context, QWidget* parent)
    : Panel(parent),
      context_(context),
      host_(context.messenger, this),
      left_(std::make_unique<AcquisitionChannel>(host_)),
      right_(std::make_unique<AcquisitionChannel>(host_)) {
    setObjectName("CMeasureCtrlDlg");
    start_ = new QPushButton(q("开始"), this);
    pause_ = new QPushButton(q("暂停"), this);
    stop_ = new QPushButton(q("停止"), this);
    for (QPushButton* button : {start_, pause_, stop_}) {
        button->resize(120, 48);
        button->setAutoFillBackground(true);
    }
    position_ = new QLineEdit(this);
    position_->setObjectName("kmPostEdit");
    QFont font(q("微软雅黑"));
    font.setPointSize(22);
    position_->setFont(font);
    QPalette colours = position_->palette();
    colours.setColor(QPalette::Text, QColor(0, 0, 255));
    colours.setColor(QPalette::Base, Qt::white);
    position_->setPalette(colours);
    position_->resize(200, 55);
    connect(start_, &QPushButton::clicked, this, &CMeasureCtrlDlg::start);
    connect(pause_, &QPushButton::clicked, this, &CMeasureCtrlDlg::pauseOrContinue);
    connect(stop_, &QPushButton::clicked, this, &CMeasureCtrlDlg::stop);
    // The panel is white under the looks without a colour of their own.
    applyBackgroundColour(core::lookColour(core::currentLook()).value_or(kWhite));
    showIdle();
    position_->setText(q(kStartPositionText));
}

CMeasureCtrlDlg::~CMeasureCtrlDlg() = default;

void CMeasureCtrlDlg::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    for (QPushButton* button : {start_, pause_, stop_}) {
        if (button != nullptr) {
            QPalette colours = button->palette();
            colours.setColor(QPalette::Button, core::colourFromBgr(bgr));
            button->setPalette(colours);
        }
    }
}

void CMeasureCtrlDlg::resizeEvent(QResizeEvent* event) {
    Panel::resizeEvent(event);
    const int w = event->size().width();
    const int h = event->size().height();
    start_->move(static_cast<int>(w / 3.2), h / 6);
    pause_->move(static_cast<int>(w / 3.2), static_cast<int>(h / 2.5));
    stop_->move(static_cast<int>(w / 3.2), static_cast<int>(h / 1.6));
    position_->setGeometry(static_cast<int>(w / 6.5), static_cast<int>(h / 1.2), 200, 55);
}

void CMeasureCtrlDlg::showIdle() {
    start_->setEnabled(true);
    pause_->setEnabled(false);
    stop_->setEnabled(false);
    pause_->setText(q("暂停"));
}

void CMeasureCtrlDlg::start() {
    if (active_) {
        return;  // one run at a time
    }
    const RunSetup setup = runSetupFromRibbon(context_.ribbon, context_.settings);
    RunHeaders headers = makeRunHeaders(setup, localTimestamp());
    core::copyEncoderAndCalibration(context_.settings, headers.left);
    core::copyEncoderAndCalibration(context_.settings, headers.right);

    const StatusCode leftStarted =
        left_->startChannel(headers.left, portDevicePath(setup.leftPort, context_.configPath));
    if (leftStarted != StatusCode::Success) {
        core::reportStatus(this, leftStarted);
        return;
    }
    left_->setReportProgress(true);
    const StatusCode rightStarted =
        right_->startChannel(headers.right, portDevicePath(setup.rightPort, context_.configPath));
    if (rightStarted != StatusCode::Success) {
        core::reportStatus(this, rightStarted);  // the left rail records alone
    }
    right_->setReportProgress(false);
    active_ = true;
    paused_ = false;
    startPositionM_ = setup.positionM;
    forward_ = setup.forward;
    start_->setEnabled(false);
    stop_->setEnabled(true);
    pause_->setEnabled(true);
    pause_->setText(q("暂停"));
    position_->setText(q(kStartPositionText));

    const core::PanelMessage clear{static_cast<std::uintptr_t>(PanelCode::Clear), 0, 0, 0};
    context_.messenger.send(PanelSlot::RealTimeView, clear);
    writeBackSettings(headers.left, headers.right);
    context_.status.showProgress(50);
    context_.status.showStatus(
        q("正在采集。左侧保存文件：%1；右侧保存文件：%2")
            .arg(QString::fromStdString(
                     fieldText(headers.left.fileName, sizeof headers.left.fileName)),
                 QString::fromStdString(
                     fieldText(headers.right.fileName, sizeof headers.right.fileName))));
}

void CMeasureCtrlDlg::writeBackSettings(const RawFileHeader& left, const RawFileHeader& right) {
    core::SettingsRecord& settings = context_.settings;
    settings.nPortLeft = left.line.nPort;
    settings.nPortRight = right.line.nPort;
    settings.nBaud = right.line.nBaud;
    settings.nDatabits = right.line.nDatabits;
    settings.nStopbits = right.line.nStopbits;
    settings.chParity = right.line.chParity;
    core::copyText(settings.chDepartment, sizeof settings.chDepartment,
                   fieldText(left.department, sizeof left.department));
    core::copyText(settings.chLineName, sizeof settings.chLineName,
                   fieldText(left.lineName, sizeof left.lineName));
    core::copyText(settings.chFilePath, sizeof settings.chFilePath,
                   fieldText(left.folder, sizeof left.folder));
    core::copyText(settings.chStaffName, sizeof settings.chStaffName,
                   fieldText(left.staffName, sizeof left.staffName));
}

void CMeasureCtrlDlg::showPosition(std::uint32_t deliveredBytes) {
    if (!active_) {
        return;  // a late progress of a run already stopped
    }
    position_->setText(QString::fromStdString(runningPositionText(
        deliveredBytes, context_.settings.dEncoder, startPositionM_, forward_)));
}

void CMeasureCtrlDlg::pauseOrContinue() {
    if (!active_) {
        return;
    }
    if (!paused_) {
        left_->pause();
        right_->pause();
        pause_->setText(q("继续"));
        stop_->setEnabled(false);
        paused_ = true;
    } else {
        left_->resume();
        right_->resume();
        pause_->setText(q("暂停"));
        stop_->setEnabled(true);
        paused_ = false;
    }
}

void CMeasureCtrlDlg::stop() {
    if (!active_) {
        return;  // nothing runs: nothing to stop or write
    }
    const std::optional<double> position =
        stopPosition(position_->text().toStdString(), startPositionM_, forward_);
    if (!position) {
        core::showProgramMessage(this, q("公里标输入错误！请重新输入..."));
        return;
    }
    const core::PanelMessage ended{static_cast<std::uintptr_t>(PanelCode::Stop), 0, 0, 0};
    context_.messenger.send(PanelSlot::RealTimeView, ended);
    left_->stopChannel(*position);
    right_->stopChannel(*position);
    active_ = false;
    paused_ = false;
    showIdle();
    context_.status.showStatus(q("结束采集！"));
    context_.status.showProgress(100);
    if (const auto measured =
            measuredMetresPerFrame(startPositionM_, *position, left_->record().dataByteCount)) {
        context_.settings.dEncoder = *measured;
    }
}

void CMeasureCtrlDlg::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case PanelCode::StartMeasurement:
            start();
            break;
        case PanelCode::Stop:
            stop();
            break;
        case PanelCode::AcquisitionProgress:
            showPosition(static_cast<std::uint32_t>(message.data));
            break;
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::acquisition
