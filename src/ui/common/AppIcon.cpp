#include "ui/common/AppIcon.h"

#include "ui/common/Layout.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

QImage AppIconImage(int size)
{
    // Drawn rather than shipped: a green "Z" on a dark rounded tile.
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setBrush(QColor(24, 24, 32));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    QFont font = TitleFont(12);
    font.setPixelSize(size * 3 / 4);
    painter.setFont(font);
    painter.setPen(QColor(0, 255, 0));
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("Z"));
    return image;
}

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}
