#include "app/ui/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace sundrel::app {

QIcon programIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1d, 0x4e, 0x89));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    painter.setBrush(QColor(0xc9, 0xd3, 0xde));
    painter.drawRoundedRect(QRectF(8, 40, 48, 8), 2, 2);
    painter.setBrush(QColor(0x8a, 0x98, 0xa8));
    painter.drawRect(QRectF(12, 48, 6, 8));
    painter.drawRect(QRectF(46, 48, 6, 8));
    QPainterPath wave(QPointF(8, 28));
    for (int i = 0; i < 6; ++i) {
        const double x = 8 + 8 * i;
        wave.quadTo(QPointF(x + 2, i % 2 == 0 ? 20 : 36), QPointF(x + 4, 28));
        wave.quadTo(QPointF(x + 6, i % 2 == 0 ? 36 : 20), QPointF(x + 8, 28));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xff, 0xd2, 0x3f), 3));
    painter.drawPath(wave);
    return QIcon(pixmap);
}

}  // namespace sundrel::app
