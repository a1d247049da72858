#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

#include "core/panel_codes.h"
#include "kestova/kestova.h"

namespace sundrel::core {

// The record of every panel message: code, data, axis, count, each a
// pointer-sized word. It belongs to its sender and is valid only while a
// synchronous send is being handled, or until a posted message is handled.
using PanelMessage = ::PanelMessage;

inline PanelCode codeOf(const PanelMessage& message) {
    return static_cast<PanelCode>(message.code);
}

// Anything that takes part in the message protocol: one handler that
// switches on the code and ignores codes it does not know.
class PanelReceiver {
public:
    virtual ~PanelReceiver() = default;
    virtual void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) = 0;

protected:
    PanelReceiver() = default;
    PanelReceiver(const PanelReceiver&) = default;
    PanelReceiver& operator=(const PanelReceiver&) = default;
};

// A window panel: paints its background in the colour of the current look
// (or the one it was constructed with, for looks without a colour) and
// follows look changes (code 2). Every other code is ignored here; panels
// that understand more handle those and pass the rest on to this handler.
class Panel : public QWidget, public PanelReceiver {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr);
    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override;

    QColor backgroundColour() const;

protected:
    // Stores a 0x00BBGGRR colour as the background and repaints.
    virtual void applyBackgroundColour(std::uint32_t bgr);
};

// 0x00BBGGRR as a colour.
QColor colourFromBgr(std::uint32_t bgr);

}  // namespace sundrel::core
