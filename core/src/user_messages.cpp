#include "core/user_messages.h"

#include <QMessageBox>
#include <cstdio>

namespace sundrel::core {
namespace {

UserMessageSink& sink() {
    static UserMessageSink current;
    return current;
}

}  // namespace

void setUserMessageSink(UserMessageSink replacement) {
    sink() = std::move(replacement);
}

UserMessageSink stderrMessageSink() {
    return [](const UserMessage& message) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(message.caption),
                     qUtf8Printable(message.text));
    };
}

void showUserMessage(QWidget* parent, const UserMessage& message) {
    if (sink()) {
        sink()(message);
        return;
    }
    if (message.kind == UserMessage::Kind::Warning) {
        QMessageBox::warning(parent, message.caption, message.text);
    } else {
        QMessageBox::information(parent, message.caption, message.text);
    }
}

void reportStatus(QWidget* parent, acquisition::StatusCode code, const QString& caption) {
    const auto text = acquisition::statusText(code);
    if (text.empty()) {
        return;
    }
    showUserMessage(parent, {UserMessage::Kind::Warning, caption,
                             QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))});
}

void showProgramMessage(QWidget* parent, const QString& text) {
    showUserMessage(parent,
                    {UserMessage::Kind::Information, QString::fromUtf8(kProgramName), text});
}

}  // namespace sundrel::core
