#include "ui/browser/CoverDelegate.h"

#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "ui/browser/FavouriteDelegate.h"

#include <QApplication>
#include <QPainter>

namespace {
// Box art is mostly taller than wide: the tiles take that shape.
constexpr QSize NormalPicture(100, 140);
constexpr QSize LargePicture(180, 252);
constexpr int Margin = 6;
} // namespace

CoverDelegate::CoverDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , picture_(NormalPicture)
    , star_(FavouriteStar())
{
}

void CoverDelegate::setLarge(bool large)
{
    picture_ = large ? LargePicture : NormalPicture;
}

QSize CoverDelegate::tileSize(const QFontMetrics &metrics) const
{
    return {picture_.width() + 2 * Margin, picture_.height() + metrics.height() + 3 * Margin};
}

QSize CoverDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return tileSize(option.fontMetrics);
}

void CoverDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    painter->save();
    // The tile in the middle of its place in the row, which may be wider.
    const QSize size = tileSize(option.fontMetrics);
    const QRect tile = QRect(option.rect.x() + (option.rect.width() - size.width()) / 2,
                             option.rect.y(), size.width(), option.rect.height())
                           .adjusted(1, 1, -1, -1);
    const QPalette &palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.color(QPalette::Highlight));
        painter->drawRoundedRect(tile, 6, 6);
    }

    const QString name = index.data(Qt::DisplayRole).toString();
    const QRect area(tile.x() + (tile.width() - picture_.width()) / 2, tile.y() + Margin,
                     picture_.width(), picture_.height());
    const auto cover = index.data(GameListModel::CoverRole).value<GameListModel::Cover>();
    if (cover.ready && !cover.image.isNull()) {
        // Scaled already to fit the shape; placed at its foot, centred.
        const QSize size = cover.image.size().scaled(picture_, Qt::KeepAspectRatio);
        const QRect at(area.x() + (area.width() - size.width()) / 2,
                       area.bottom() + 1 - size.height(), size.width(), size.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(at, cover.image);
    } else {
        paintDrawnTile(painter, area, name, !cover.ready);
        waiting_ += cover.ready ? 0 : 1;
    }

    const QRect caption(tile.x() + Margin / 2, area.bottom() + Margin / 2, tile.width() - Margin,
                        option.fontMetrics.height() + Margin);
    painter->setFont(option.font);
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(caption, Qt::AlignHCenter | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(name, Qt::ElideRight, caption.width()));

    if (index.data(zanku::GameFindModel::FavouriteRole).toBool()) {
        const int side = picture_.width() / 5;
        star_.paint(painter, QRect(area.right() - side, area.y(), side, side));
    }
    painter->restore();
}

void CoverDelegate::paintDrawnTile(QPainter *painter, const QRect &area, const QString &name,
                                   bool waiting) const
{
    // A colour of its own for each name, muted, so a wall of them still reads as games.
    const QColor colour = QColor::fromHsv(int(qHash(name) % 360), waiting ? 30 : 90, 150);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(colour.darker(130));
    painter->setBrush(colour);
    painter->drawRoundedRect(area.adjusted(0, 0, -1, -1), 8, 8);
    if (waiting)
        return; // its picture follows at once: no name to flash away
    QFont font = painter->font();
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(Qt::white);
    painter->drawText(area.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, name);
}
