#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

// The star that marks a favourite game, in the list and on its cover.
QIcon FavouriteStar();

// Draws a star before the name of a favourite game: an icon, so the cell's text stays
// the name.
class FavouriteDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit FavouriteDelegate(QObject *parent);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QIcon star_;
};
