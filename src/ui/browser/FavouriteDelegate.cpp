#include "ui/browser/FavouriteDelegate.h"

#include "core/browse/GameFindModel.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

QIcon FavouriteStar()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainterPath star;
    for (int point = 0; point < 10; ++point) {
        const qreal radius = point % 2 == 0 ? 15 : 6.5;
        const qreal angle = qDegreesToRadians(-90 + point * 36.0);
        const QPointF at(16 + radius * qCos(angle), 17 + radius * qSin(angle));
        point == 0 ? star.moveTo(at) : star.lineTo(at);
    }
    star.closeSubpath();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 110, 0), 1.5));
    painter.setBrush(QColor(255, 196, 0));
    painter.drawPath(star);
    return QIcon(pixmap);
}

FavouriteDelegate::FavouriteDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , star_(FavouriteStar())
{
}

void FavouriteDelegate::initStyleOption(QStyleOptionViewItem *option,
                                        const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == 0 && index.data(zanku::GameFindModel::FavouriteRole).toBool()) {
        option->icon = star_;
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
}
