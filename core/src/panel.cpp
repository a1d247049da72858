#include "core/panel.h"

#include "core/look_table.h"

namespace sundrel::core {

QColor colourFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

namespace {

// What a panel is painted with under the looks that have no colour of their own.
constexpr std::uint32_t kConstructedBackground = 0xF0F0F0;

}  // namespace

Panel::Panel(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    applyBackgroundColour(lookColour(currentLook()).value_or(kConstructedBackground));
}

void Panel::handlePanelMessage(const PanelMessage& message, std::intptr_t) {
    if (codeOf(message) == PanelCode::ApplyLook) {
        applyBackgroundColour(static_cast<std::uint32_t>(message.data));
    }
}

QColor Panel::backgroundColour() const {
    return palette().color(QPalette::Window);
}

void Panel::applyBackgroundColour(std::uint32_t bgr) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colourFromBgr(bgr));
    setPalette(colours);
    update();
}

}  // namespace sundrel::core
