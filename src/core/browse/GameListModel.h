#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

// The main grid's rows: game name, type and emulator name for every game of the
// catalogue. Each row remembers the catalogue slot of the game it shows, through every
// sort and refill, so a row always previews and launches its own game.
namespace zanku {
class Library;
}

class GameListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;

    struct Row {
        std::array<QString, ColumnCount> cells;
        int slot = 0; // slot in the library's games
    };

    explicit GameListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Replaces every row and sorts them by game name.
    void setRows(std::vector<Row> rows);

    // Fills the rows with the library's games (name, type, emulator), sorted by name,
    // and the count text "Games  ( n Roms )".
    void FillGameList(const zanku::Library &library);

    const QString &cell(int row, int column) const;
    int slotAt(int row) const; // 0 for a row that does not exist

    // Sorts all rows by one column in generic ascending order (stable).
    void sortByColumn(int column);

    // A click on a column title: sorts by that column, then orders every run of rows
    // holding the same text in it by game name.
    void sortByTitleClick(int column);

private:
    // Puts the rows in this order (new position i holds old row order[i]), keeping
    // the view's selection on the same rows.
    void applyOrder(const std::vector<int> &order);

    std::vector<Row> rows_;
};
