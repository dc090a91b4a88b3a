// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvin {

namespace {

// On a 64-unit square: a dark blue rounded tile, an open book in white and a
// yellow sound wave above it.
QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1d, 0x3a, 0x6e));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    QPainterPath book;
    book.moveTo(32, 50);
    book.cubicTo(24, 45, 16, 45, 10, 47);
    book.lineTo(10, 28);
    book.cubicTo(16, 26, 24, 26, 32, 31);
    book.cubicTo(40, 26, 48, 26, 54, 28);
    book.lineTo(54, 47);
    book.cubicTo(48, 45, 40, 45, 32, 50);
    book.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(book);
    painter.setPen(QPen(QColor(0x1d, 0x3a, 0x6e), 2));
    painter.drawLine(QPointF(32, 31), QPointF(32, 50));

    painter.setPen(QPen(QColor(0xf5, 0xc2, 0x18), 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(24, 10, 16, 16), 30 * 16, 120 * 16);
    painter.drawArc(QRectF(18, 4, 28, 28), 35 * 16, 110 * 16);
    return pixmap;
}

}  // namespace

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace korvin
