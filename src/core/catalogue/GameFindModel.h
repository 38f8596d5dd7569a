#pragma once

#include "core/catalogue/FindIndex.h"

#include <QSortFilterProxyModel>

class GameListModel;

namespace zanku {

class Library;

// The game list as the grid shows it: every row, or while the player finds a game, the
// rows that match, in the list's own order. Sorting stays the list's.
class GameFindModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    GameFindModel(GameListModel *games, const Library &library, QObject *parent = nullptr);

    // Narrows to the games matching `text` (empty: all of them).
    void setFindText(const QString &text);
    const QString &findText() const { return text_; }
    bool narrowed() const { return narrowed_; }

    // The catalogue slot and a cell of a row as shown.
    int slotAt(int row) const;
    QString cell(int row, int column) const;

    // The count panel's text: "Games  ( 12 Roms )", or "Games  ( 3 of 12 Roms )" while
    // rows are hidden.
    QString countText() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    void catalogueRead();

    GameListModel *games_;
    const Library &library_;
    FindIndex index_;
    QString text_;
    bool narrowed_ = false;
};

} // namespace zanku
