#pragma once

#include <QIcon>
#include <QSize>
#include <QStyledItemDelegate>

namespace zanku {
class CoverLoader;
class GameFindModel;
class Library;
} // namespace zanku

// Draws a game of the cover view as a tile: its cover scaled to fit a common shape, its
// name under it (elided), the star of a favourite. A game with no picture, or one whose
// picture is still being read, gets a drawn tile with its name.
class CoverDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CoverDelegate(const zanku::GameFindModel &shown, const zanku::Library &library,
                  zanku::CoverLoader &loader, QObject *parent);

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

    const zanku::GameFindModel &shown_;
    const zanku::Library &library_;
    zanku::CoverLoader &loader_;
    QSize picture_;
    QIcon star_;
    mutable int waiting_ = 0; // tiles of the current paint whose picture is being read
};
