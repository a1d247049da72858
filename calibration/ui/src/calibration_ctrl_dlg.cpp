#include "calibration/ui/calibration_ctrl_dlg.h"

#include <QPushButton>
#include <QResizeEvent>
#include <atomic>
#include <thread>

#include "acquisition/port_devices.h"
#include "acquisition/serial_link.h"
#include "acquisition/ui/ribbon_run_setup.h"
#include "core/look_table.h"
#include "core/panel_registry.h"
#include "core/profile_helpers.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"

namespace sundrel::calibration {
namespace {

using acquisition::StatusCode;
using core::PanelCode;
using core::PanelSlot;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

// One box's port in calibration mode. The port number travels with every
// delivery (code 8, lparam).
struct CCalibrationCtrlDlg::Link {
    platform::SerialPort port;
    int portNumber = 0;
};

CCalibrationCtrlDlg::CCalibrationCtrlDlg(const core::PanelContext& context, QWidget* parent)
    : Panel(parent),
      context_(context),
      left_(std::make_unique<Link>()),
      right_(std::make_unique<Link>()) {
    setObjectName("CCalibrationCtrlDlg");
    confirm_ = new QPushButton(q("确认"), this);
    remove_ = new QPushButton(q("移除"), this);
    finish_ = new QPushButton(q("完成"), this);
    connect_ = new QPushButton(q("连接"), this);
    disconnect_ = new QPushButton(q("断开"), this);
    for (QPushButton* button : {confirm_, remove_, finish_, connect_, disconnect_}) {
        button->resize(110, 44);
        button->setAutoFillBackground(true);
    }
    connect(connect_, &QPushButton::clicked, this, &CCalibrationCtrlDlg::connectBoxes);
    connect(confirm_, &QPushButton::clicked, this, &CCalibrationCtrlDlg::confirm);
    connect(remove_, &QPushButton::clicked, this, &CCalibrationCtrlDlg::removeLast);
    connect(finish_, &QPushButton::clicked, this, &CCalibrationCtrlDlg::finish);
    connect(disconnect_, &QPushButton::clicked, this, &CCalibrationCtrlDlg::disconnectBoxes);
    applyBackgroundColour(core::lookColour(core::currentLook()).value_or(kWhite));
    showConnected(false);
}

CCalibrationCtrlDlg::~CCalibrationCtrlDlg() {
    closeLinks();
}

void CCalibrationCtrlDlg::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    for (QPushButton* button : {confirm_, remove_, finish_, connect_, disconnect_}) {
        if (button != nullptr) {
            QPalette colours = button->palette();
            colours.setColor(QPalette::Button, core::colourFromBgr(bgr));
            button->setPalette(colours);
        }
    }
}

void CCalibrationCtrlDlg::resizeEvent(QResizeEvent* event) {
    Panel::resizeEvent(event);
    const int w = event->size().width();
    const int h = event->size().height();
    confirm_->move(static_cast<int>(w / 3.2), h / 6);
    remove_->move(static_cast<int>(w / 3.2), static_cast<int>(h / 2.5));
    finish_->move(static_cast<int>(w / 3.2), static_cast<int>(h / 1.6));
    connect_->move(w / 18, static_cast<int>(h / 1.2));
    disconnect_->move(static_cast<int>(w / 1.8), static_cast<int>(h / 1.2));
}

void CCalibrationCtrlDlg::showConnected(bool connected) {
    connected_ = connected;
    connect_->setEnabled(!connected);
    for (QPushButton* button : {disconnect_, confirm_, remove_, finish_}) {
        button->setEnabled(connected);
    }
}

CCalibrationDlg* CCalibrationCtrlDlg::view() const {
    return dynamic_cast<CCalibrationDlg*>(
        context_.messenger.registry().lookup(PanelSlot::CalibrationView));
}

bool CCalibrationCtrlDlg::openLink(Link& link, int port, bool reportAndStop) {
    const acquisition::RunSetup setup =
        acquisition::runSetupFromRibbon(context_.ribbon, context_.settings);
    acquisition::LineParameters line{
        port, setup.baud, setup.parity, setup.dataBits, setup.stopBits, 0, 0, 0};
    link.portNumber = port;
    const std::string device = acquisition::portDevicePath(port, context_.configPath);
    if (device.empty() || link.port.open(device) != 0) {
        core::reportStatus(this, StatusCode::PortNotOpened, q("error"));
        return !reportAndStop;
    }
    Link* target = &link;
    core::PanelMessenger* messenger = &context_.messenger;
    const StatusCode configured =
        acquisition::configureForCalibration(link.port, line, [target, messenger] {
            acquisition::readCalibrationBytes(
                target->port, [&](const std::uint8_t* bytes, std::size_t count) {
                    const core::PanelMessage message{
                        static_cast<std::uintptr_t>(PanelCode::CalibrationBytes),
                        reinterpret_cast<std::uintptr_t>(bytes), 0, count};
                    messenger->send(PanelSlot::CalibrationView, message,
                                    reinterpret_cast<std::intptr_t>(&target->portNumber));
                });
        });
    if (configured != StatusCode::Success) {
        core::reportStatus(this, configured, q("error"));
        return !reportAndStop;
    }
    return true;
}

void CCalibrationCtrlDlg::connectBoxes() {
    if (connected_) {
        return;
    }
    const acquisition::RunSetup setup =
        acquisition::runSetupFromRibbon(context_.ribbon, context_.settings);
    if (!openLink(*left_, setup.leftPort, true)) {
        return;
    }
    openLink(*right_, setup.rightPort, false);  // the left side calibrates alone
    showConnected(true);
}

void CCalibrationCtrlDlg::confirm() {
    if (!connected_) {
        return;
    }
    CapturedTarget target;
    target.distanceMm = core::leadingDouble(context_.ribbon.text(core::ID_EDIT_DIS).toStdString());
    target.side = context_.calibration.side == core::CalibrationChoice::Side::Left
                      ? frames::RailSide::Left
                      : frames::RailSide::Right;
    target.sensor = context_.calibration.sensor;
    captured_ = target;
    if (previous_ && (previous_->side != target.side || previous_->sensor != target.sensor)) {
        const core::PanelMessage clear{static_cast<std::uintptr_t>(PanelCode::Clear), 0, 0, 0};
        context_.messenger.send(PanelSlot::CalibrationView, clear);
    }
    previous_ = target;
    for (Link* link : {left_.get(), right_.get()}) {
        if (link->port.isOpen()) {
            link->port.write(acquisition::kCalibrationRequest.data(),
                             acquisition::kCalibrationRequest.size());
        }
    }
}

void CCalibrationCtrlDlg::removeLast() {
    CCalibrationDlg* calibration = view();
    if (calibration == nullptr) {
        return;
    }
    const std::size_t points = calibration->pointCount();
    if (points == 1) {
        calibration->clearCurves();
    } else if (points > 1) {
        calibration->removeLastPoint();
        calibration->refit();
    }
}

void CCalibrationCtrlDlg::finish() {
    CCalibrationDlg* calibration = view();
    if (calibration == nullptr || calibration->slope() == 0) {
        core::showUserMessage(this,
                              {core::UserMessage::Kind::Information, q("提示"), q("没有进行标定")});
        return;
    }
    if (captured_.sensor < 1 || captured_.sensor > 4) {
        return;
    }
    const acquisition::EddyCalibration pair{calibration->slope(), calibration->intercept()};
    const auto sensor = static_cast<std::size_t>(captured_.sensor - 1);
    if (captured_.side == frames::RailSide::Left) {
        context_.settings.leftEddy[sensor] = pair;
    } else {
        context_.settings.rightEddy[sensor] = pair;
    }
}

void CCalibrationCtrlDlg::closeLinks() {
    // A close waits for a delivery under way, which waits for this thread:
    // close on a helper thread while this one keeps delivering.
    std::atomic<bool> closed{false};
    std::thread closer([&] {
        for (Link* link : {left_.get(), right_.get()}) {
            if (link->port.isOpen()) {
                acquisition::closePort(link->port);
            }
        }
        closed.store(true);
    });
    context_.messenger.waitDelivering([&] { return closed.load(); });
    closer.join();
}

void CCalibrationCtrlDlg::disconnectBoxes() {
    if (!connected_) {
        return;
    }
    closeLinks();
    showConnected(false);
}

}  // namespace sundrel::calibration
