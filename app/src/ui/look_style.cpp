#include "app/ui/look_style.h"

#include <QApplication>
#include <QCheckBox>
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

QColor textOn(const LookRgb& background) {
    return colourOf(readableTextOn(background));
}

}  // namespace

void applyLookStyle(int lookId, QWidget* mainWindow) {
    const LookDefinition look = lookDefinition(lookId);
    if (QApplication::style()->name().compare(look.style, Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStyleFactory::create(look.style));
    }
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, colourOf(look.window));
    palette.setColor(QPalette::WindowText, textOn(look.window));
    palette.setColor(QPalette::Button, colourOf(look.button));
    palette.setColor(QPalette::ButtonText, textOn(look.button));
    palette.setColor(QPalette::Highlight, colourOf(look.highlight));
    palette.setColor(QPalette::HighlightedText, textOn(look.highlight));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    // Disabled controls stay visibly disabled under every look.
    const QColor disabled(128, 128, 128);
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    QApplication::setPalette(palette);
    if (mainWindow != nullptr) {
        // The ribbon's band, the labels on it and the status bar follow the
        // look.
        const QColor bandText(look.lightText ? "#ffffff" : "#1f2f4f");
        mainWindow->setStyleSheet(
            QString("#ribbon { background: %1; } #ribbon QLabel { color: %2; }"
                    " #ribbonPanel { background: %3; border: 1px solid %4; border-radius: 3px; }"
                    " #ribbonPanelTitle { color: %2; }"
                    " QStatusBar { background: %1; } QStatusBar, QStatusBar QLabel { color: %2; }")
                .arg(colourOf(look.ribbon).name(), bandText.name(),
                     colourOf(look.ribbon).lighter(108).name(),
                     colourOf(look.ribbon).darker(125).name()));
        // A ribbon check box takes the band's text colour for its label
        // through its palette: a style sheet colour would paint the check
        // mark too, white in the white box under the dark look.
        for (QCheckBox* box : mainWindow->findChildren<QCheckBox*>()) {
            if (box->parentWidget() != nullptr &&
                box->parentWidget()->objectName() == QStringLiteral("ribbonPanel")) {
                QPalette label = box->palette();
                label.setColor(QPalette::Active, QPalette::WindowText, bandText);
                label.setColor(QPalette::Inactive, QPalette::WindowText, bandText);
                box->setPalette(label);
            }
        }
        mainWindow->update();
    }
}

}  // namespace sundrel::app
