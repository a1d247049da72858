#include "acquisition/ui/window_channel_host.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/user_messages.h"

namespace sundrel::acquisition {

void WindowChannelHost::deliverBatch(const PanelMessage& message, std::intptr_t side) {
    messenger_.send(core::PanelSlot::RealTimeView, message, side);
}

void WindowChannelHost::postProgress(const PanelMessage& message) {
    // A copy: the worker rewrites its record with the next batch.
    core::PanelMessenger* messenger = &messenger_;
    QMetaObject::invokeMethod(
        messenger,
        [messenger, copy = message] { messenger->send(core::PanelSlot::MeasureControl, copy); },
        Qt::QueuedConnection);
}

void WindowChannelHost::waitDelivering(const std::function<bool()>& finished) {
    messenger_.waitDelivering(finished);
}

void WindowChannelHost::reportFault(std::string_view text) {
    QPointer<QWidget> parent = dialogParent_;
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QMetaObject::invokeMethod(
        &messenger_,
        [parent, shown] {
            core::showUserMessage(
                parent.data(), {core::UserMessage::Kind::Warning, QStringLiteral("error"), shown});
        },
        Qt::QueuedConnection);
}

}  // namespace sundrel::acquisition
