#pragma once

#include "core/browse/FindIndex.h"
#include "core/records/GameKey.h"

#include <QAbstractProxyModel>
#include <QTimer>

#include <vector>

class GameListModel;

namespace zanku {

class Library;

// The game list as the grid shows it: every row, or while the player finds a game, the
// rows that match, in the list's own order. Sorting stays the list's: a sort of the list
// reorders these rows with it, and the views keep their selection.
class GameFindModel : public QAbstractProxyModel {
    Q_OBJECT
public:
    GameFindModel(GameListModel *games, const Library &library, QObject *parent = nullptr);

    // A row's game is a favourite (bool); its tooltip says what was played.
    static constexpr int FavouriteRole = Qt::UserRole + 1;

    // Narrows to the games matching `text` (empty: all of them). A text set before the
    // find index is complete finishes it first, so no key is lost.
    void setFindText(const QString &text);
    // The list has been painted once: the find index is made from now on, in slices
    // between other events.
    void listShown();
    // The find index is complete, and so is the list's order past its first screen: a key
    // is answered at once.
    bool indexReady() const;
    // Which games are shown: all, the favourites or one collection's; a find narrows them
    // further.
    enum class Show { All, Favourites, Collection };
    void setShow(Show show, const QString &collection = {});
    Show show() const { return show_; }
    const QString &collection() const { return collection_; }
    void setFavouritesOnly(bool only) { setShow(only ? Show::Favourites : Show::All); }
    // What was played changed: the favourites, the tooltips.
    void historyChanged();

    // The catalogue slot and a cell of a row as shown.
    int slotAt(int row) const;
    GameKey keyAt(int row) const;
    QString cell(int row, int column) const;

    // The count panel's text: "Games  ( 12 Roms )", or "Games  ( 3 of 12 Roms )" while
    // rows are hidden.
    QString countText() const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    // The list's titles, also while nothing is found.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void catalogueRead();
    void ensureIndexed();
    void indexWhenIdle();
    void sourceSorting();
    void sourceSorted();
    // The source rows shown, in the source's order; `proxyRows_` the other way round.
    // With `reordered`, the source's rows changed since the last time.
    void collectRows(bool reordered = false);
    bool shownBy(int sourceRow) const;

    GameListModel *games_;
    const Library &library_;
    FindIndex index_;
    bool indexed_ = false;
    bool building_ = false; // index_ begun, not complete
    bool listShown_ = false;
    QTimer slices_;
    static constexpr int IndexSlice = 4096; // games: about a millisecond
    QString text_;
    bool narrowed_ = false;
    Show show_ = Show::All;
    QString collection_;
    std::vector<int> sourceRows_;
    std::vector<int> proxyRows_; // by source row, -1 when hidden
    std::vector<int> rowSlots_;  // by source row, its game's slot, while rowSlotsRead_
    bool rowSlotsRead_ = false;
    QModelIndexList sortedFrom_;
    std::vector<int> sortedSlots_;
};

} // namespace zanku
