#include "app/ui/look_style.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "core/look_table.h"

namespace sundrel::app {

using namespace core;
namespace {

QColor colourOf(const LookRgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

void applyLookStyle(int lookId, QWidget* mainWindow) {
    const LookDefinition look = lookDefinition(lookId);
    if (QApplication::style()->name().compare(look.style, Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStyleFactory::create(look.style));
    }
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, colourOf(look.window));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Button, colourOf(look.button));
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Highlight, colourOf(look.highlight));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    // Disabled controls stay visibly disabled under every look.
    const QColor disabled(128, 128, 128);
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    QApplication::setPalette(palette);
    if (mainWindow != nullptr) {
        // The ribbon's band and the labels on it follow the look.
        mainWindow->setStyleSheet(
            QString("#ribbon { background: %1; } #ribbon QLabel, #ribbon QCheckBox { color: %2; }"
                    " #ribbonPanel { background: %3; border: 1px solid %4; border-radius: 3px; }"
                    " #ribbonPanelTitle { color: %2; }")
                .arg(colourOf(look.ribbon).name(), look.lightText ? "#ffffff" : "#1f2f4f",
                     colourOf(look.ribbon).lighter(108).name(),
                     colourOf(look.ribbon).darker(125).name()));
        mainWindow->update();
    }
}

}  // namespace sundrel::app
