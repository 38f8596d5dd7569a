#pragma once

#include "core/browse/DeferredOrder.h"
#include "core/browse/SortKeys.h"
#include "core/preview/Cover.h"
#include "core/records/GameKey.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

// The main grid's rows: game name, type and emulator name for every game of the
// catalogue. A row is its game's catalogue slot, through every sort and refill, so a row
// always previews and launches its own game; its texts are read from the library's games
// where they lie (a row costs eight bytes, not a copy of them), and the emulators' names
// and cover folders are kept once, not in every row.
//
// The cover view asks it for each tile's cover (CoverRole): read on workers by the model's
// own loader, once covers are wanted at all.
namespace zanku {
class CoverLoader;
class Library;
class LibraryMetadata;
} // namespace zanku

class GameListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Name, type and emulator; then the year and the genre other programs' details give.
    static constexpr int ColumnCount = 5;
    static constexpr int YearColumn = 3;
    static constexpr int GenreColumn = 4;

    struct Row {
        QString name, type, file;
        int slot = 0;     // slot in the library's games
        int emulator = 0; // its emulator's place in the model's emulators
    };
    // Where a row's emulator is, for each place: its name and its cover folder.
    struct Emulator {
        QString name;
        QString coverFolder;
    };

    // A row's key (GameKey), and its cover (a Cover: ready and its picture).
    static constexpr int KeyRole = Qt::UserRole + 10;
    static constexpr int CoverRole = Qt::UserRole + 11;
    struct Cover {
        bool ready = true; // false: being read, a coverArrived follows
        QImage image;      // null: none (draw a tile)
    };

    explicit GameListModel(QObject *parent = nullptr);
    ~GameListModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Replaces every row by these, their texts kept here, and sorts them by game name.
    void setRows(std::vector<Row> rows, std::vector<Emulator> emulators = {});

    // Fills the rows with the library's games (name, type, emulator), sorted by name. The
    // rows read the library's games until the next fill: call it again whenever its
    // catalogue changes.
    void FillGameList(const zanku::Library &library);
    // The list has been seen: the rows past its first screen are sorted from now on, on a
    // worker. Until they are, reading one of them waits for their order.
    void sortRest() { order_.sortRest(); }
    bool sortPending() const { return order_.pending(); }

    QString cell(int row, int column) const;
    int slotAt(int row) const;           // 0 for a row that does not exist
    zanku::GameKey keyAt(int row) const; // a null key for a row that does not exist

    // Covers are read into this cache folder from now on, at this size.
    void enableCovers(const QString &cacheFolder);
    void setCoverSize(const QSize &size) { coverSize_ = size; }
    // Covers not yet being read are of tiles scrolled away.
    void dropQueuedCovers();

    // Sorts all rows by one column in generic ascending order (stable); a year or a genre
    // that is missing comes last.
    void sortByColumn(int column);

    // A click on a column title: sorts by that column, then orders every run of rows
    // holding the same text in it by game name.
    void sortByTitleClick(int column);

signals:
    // A cover asked for has been read (on the loader's thread).
    void coverArrived();

private:
    // A row shown: where its texts are, its game's slot in the library, or else the place
    // of a row given to setRows.
    using Shown = int;
    int slotOf(Shown row) const { return library_ != nullptr ? row : own_[size_t(row)].slot; }
    struct Texts {
        QStringView name, type, file;
        int emulator; // its place in emulators_, 0 for none
    };
    Texts textsOf(Shown row) const;
    QStringView cellOf(Shown row, int column) const;
    GenericSortKeys keysOf(int column) const;
    // The rows in order, their texts in `library` or else in `own`.
    void adoptRows(std::vector<Shown> rows, std::vector<Emulator> emulators,
                   const zanku::Library *library, std::vector<Row> own = {});
    QVariant coverOf(Shown row) const;
    QString detailOf(Shown row, int column) const;
    GenericSortKeys keysFor(int column) const;
    std::vector<int> sortedBy(int column, const GenericSortKeys &keys) const;

    // Puts the rows in this order (new position i holds old row order[i]), keeping
    // the view's selection on the same rows.
    void applyOrder(const std::vector<int> &order);

    // The row shown at a position, and all of them: in their order, also past the first
    // screen while the rest of a fill's order is still being sorted (it is waited for).
    Shown shownAt(size_t row) const;
    const std::vector<Shown> &orderedRows() const;

    // Past the first screen of a fill, in no order until order_ completes; nothing has
    // read them before then, so taking the complete order changes nothing anyone saw.
    mutable std::vector<Shown> rows_;
    mutable zanku::DeferredOrder order_;
    std::vector<Emulator> emulators_;
    const zanku::Library *library_ = nullptr; // the rows' texts, or else in own_
    std::vector<Row> own_;
    zanku::CoverLoader *covers_ = nullptr;
    const zanku::LibraryMetadata *metadata_ = nullptr;
    QSize coverSize_{100, 140};
};

Q_DECLARE_METATYPE(GameListModel::Cover)
