#pragma once

#include <QString>
#include <functional>

#include "acquisition/status_code.h"

class QWidget;

namespace sundrel::core {

// Where message boxes go. The program shows them; a headless run (the
// screenshot mode) prints them to stderr instead of waiting for a click;
// tests record them.
struct UserMessage {
    enum class Kind { Warning, Information };
    Kind kind;
    QString caption;
    QString text;
};
using UserMessageSink = std::function<void(const UserMessage&)>;

// Replaces the sink; an empty sink restores the message boxes.
void setUserMessageSink(UserMessageSink sink);
// A sink that prints "caption: text" to stderr.
UserMessageSink stderrMessageSink();

void showUserMessage(QWidget* parent, const UserMessage& message);

// Shows a status code's text in a warning box with the given caption; codes
// without a text (0 and 8) show nothing.
void reportStatus(QWidget* parent, acquisition::StatusCode code, const QString& caption = {});

// A message box titled with the program's name.
void showProgramMessage(QWidget* parent, const QString& text);

inline constexpr const char* kProgramName = "Sundrel";

}  // namespace sundrel::core
