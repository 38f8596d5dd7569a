#pragma once

#include <QIcon>
#include <QSize>
#include <QStyledItemDelegate>

// Draws a game of the cover view as a tile: the cover its model gives, scaled to fit a
// common shape, its name under it (elided), the star of a favourite. A game with no
// picture, or one whose picture is still being read, gets a drawn tile with its name.
class CoverDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CoverDelegate(QObject *parent);

    // The pictures' size: larger for a screen seen from afar.
    void setLarge(bool large);
    QSize pictureSize() const { return picture_; }
    // A tile's size, picture and name, in this font.
    QSize tileSize(const QFontMetrics &metrics) const;
    // Whether every tile of the last paint had its picture at hand (or none to wait for):
    // the screen is complete. A paint starts by calling startPaint().
    void startPaint() const { waiting_ = 0; }
    bool paintedComplete() const { return waiting_ == 0; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void paintDrawnTile(QPainter *painter, const QRect &area, const QString &name,
                        bool waiting) const;

    QSize picture_;
    QIcon star_;
    mutable int waiting_ = 0; // tiles of the current paint whose picture is being read
};
