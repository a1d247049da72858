#include "app/ui/look_style.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "app/look_table.h"

namespace sundrel::app {
namespace {

struct LookColours {
    const char* style;
    QColor window;  // frame, ribbon and dialogs
    QColor button;
    QColor highlight;  // selections, the splitter bar
    QColor ribbon;     // the ribbon's band
    QColor text;
};

LookColours coloursOf(int lookId) {
    switch (lookId) {
        case kLookWindows2000:
            return {"Windows",           QColor(212, 208, 200), QColor(212, 208, 200),
                    QColor(10, 36, 106), QColor(212, 208, 200), Qt::black};
        case kLookOfficeXp:
            return {"Fusion",
                    QColor(246, 246, 246),
                    QColor(239, 237, 222),
                    QColor(49, 106, 197),
                    QColor(219, 216, 209),
                    Qt::black};
        case kLookWindowsXp:
            return {"Fusion",
                    QColor(236, 233, 216),
                    QColor(244, 243, 238),
                    QColor(49, 106, 197),
                    QColor(228, 225, 208),
                    Qt::black};
        case kLookOffice2003:
            return {"Fusion",
                    QColor(227, 239, 255),
                    QColor(214, 232, 255),
                    QColor(251, 200, 79),
                    QColor(158, 190, 245),
                    Qt::black};
        case kLookVs2005:
            return {"Fusion",
                    QColor(240, 240, 234),
                    QColor(250, 250, 246),
                    QColor(51, 94, 168),
                    QColor(220, 218, 200),
                    Qt::black};
        case kLookVs2008:
            return {"Fusion",
                    QColor(240, 240, 240),
                    QColor(250, 250, 250),
                    QColor(51, 153, 255),
                    QColor(204, 213, 240),
                    Qt::black};
        case kLookOffice2007Black:
            return {"Fusion",
                    QColor(83, 83, 83),
                    QColor(231, 239, 240),
                    QColor(255, 189, 105),
                    QColor(60, 60, 60),
                    Qt::white};
        case kLookOffice2007Silver:
            return {"Fusion",
                    QColor(208, 212, 221),
                    QColor(240, 248, 248),
                    QColor(255, 189, 105),
                    QColor(221, 224, 232),
                    Qt::black};
        case kLookOffice2007Aqua:
            return {"Fusion",
                    QColor(196, 214, 226),
                    QColor(231, 234, 241),
                    QColor(255, 189, 105),
                    QColor(207, 224, 233),
                    Qt::black};
        case kLookWindows7:
            return {"Fusion",
                    QColor(219, 229, 241),
                    QColor(237, 246, 253),
                    QColor(51, 153, 255),
                    QColor(245, 249, 253),
                    Qt::black};
        case kLookOffice2007Blue:
        default:
            return {"Fusion",
                    QColor(191, 219, 255),
                    QColor(224, 241, 252),
                    QColor(255, 189, 105),
                    QColor(219, 234, 252),
                    Qt::black};
    }
}

}  // namespace

void applyLookStyle(int lookId, QWidget* mainWindow) {
    const LookColours look = coloursOf(lookId);
    if (QApplication::style()->name().compare(look.style, Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStyleFactory::create(look.style));
    }
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, look.window);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Button, look.button);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Highlight, look.highlight);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    QApplication::setPalette(palette);
    if (mainWindow != nullptr) {
        // The ribbon's band and the labels on it follow the look.
        mainWindow->setStyleSheet(
            QString("#ribbon { background: %1; } #ribbon QLabel, #ribbon QCheckBox { color: %2; }"
                    " #ribbonPanel { background: %3; border: 1px solid %4; border-radius: 3px; }"
                    " #ribbonPanelTitle { color: %2; }")
                .arg(look.ribbon.name(), look.text == Qt::white ? "#ffffff" : "#1f2f4f",
                     look.ribbon.lighter(108).name(), look.ribbon.darker(125).name()));
        mainWindow->update();
    }
}

}  // namespace sundrel::app
