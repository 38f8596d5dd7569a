#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

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
