#include "core/browse/GameListModel.h"

#include "core/browse/SortKeys.h"
#include "core/catalogue/Catalogue.h"
#include "core/library/Library.h"

#include <algorithm>
#include <numeric>

namespace {
const std::array<QString, GameListModel::ColumnCount> ColumnTitles = {
    QStringLiteral("Game Name"), QStringLiteral("Type"), QStringLiteral("Emulator")};

GenericSortKeys keysOf(const std::vector<GameListModel::Row> &rows, int column)
{
    return GenericSortKeys(rows.size(), [&rows, column](size_t i) -> const QString & {
        return rows[i].cells[size_t(column)];
    });
}

// Puts the rows in this order (position i gets old row order[i]) in place, a cycle of
// the permutation at a time; `order` is used up.
void permute(std::vector<GameListModel::Row> &rows, std::vector<int> &order)
{
    for (size_t first = 0; first < order.size(); ++first) {
        if (order[first] < 0 || size_t(order[first]) == first)
            continue;
        GameListModel::Row held = std::move(rows[first]);
        size_t to = first;
        while (size_t(order[to]) != first) {
            const size_t from = size_t(order[to]);
            rows[to] = std::move(rows[from]);
            order[to] = -1;
            to = from;
        }
        rows[to] = std::move(held);
        order[to] = -1;
    }
}

// Stable sort of order[first, last) by the keys.
void sortRange(std::vector<int> &order, size_t first, size_t last, const GenericSortKeys &keys)
{
    keys.sort(order.begin() + qsizetype(first), order.begin() + qsizetype(last));
}
} // namespace

GameListModel::GameListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int GameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int GameListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= rows_.size())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[size_t(index.row())].cells[size_t(index.column())];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return ColumnTitles[size_t(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void GameListModel::setRows(std::vector<Row> rows)
{
    const GenericSortKeys keys = keysOf(rows, 0);
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    sortRange(order, 0, order.size(), keys);
    permute(rows, order);

    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void GameListModel::FillGameList(const zanku::Library &library)
{
    std::vector<Row> rows;
    rows.reserve(size_t(library.GameCount()));
    for (int slot = 1; slot <= library.GameCount(); ++slot) {
        const GameRecord &game = library.game(slot);
        const int emulator = game.EmulatorIndex;
        const QString emulatorName = emulator >= 1 && emulator <= library.EmulatorCount()
                                         ? library.emulator(emulator).Name
                                         : QString();
        rows.push_back({{game.Name, game.Type, emulatorName}, slot});
    }
    setRows(std::move(rows));
}

const QString &GameListModel::cell(int row, int column) const
{
    return rows_.at(size_t(row)).cells.at(size_t(column));
}

int GameListModel::slotAt(int row) const
{
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)].slot : 0;
}

void GameListModel::sortByColumn(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    sortRange(order, 0, order.size(), keysOf(rows_, column));
    applyOrder(order);
}

void GameListModel::sortByTitleClick(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    const GenericSortKeys keys = keysOf(rows_, column);
    sortRange(order, 0, order.size(), keys);

    if (column != 0) {
        // A run holds the rows the sort found equal: "Rpg" and "RPG" alike.
        const GenericSortKeys names = keysOf(rows_, 0);
        size_t runStart = 0;
        while (runStart < order.size()) {
            size_t runEnd = runStart + 1;
            while (runEnd < order.size() &&
                   keys.compare(size_t(order[runStart]), size_t(order[runEnd])) == 0)
                ++runEnd;
            if (runEnd - runStart > 1)
                sortRange(order, runStart, runEnd, names);
            runStart = runEnd;
        }
    }
    applyOrder(order);
}

void GameListModel::applyOrder(const std::vector<int> &order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<int> newPosition(order.size());
    for (size_t position = 0; position < order.size(); ++position)
        newPosition[size_t(order[position])] = int(position);
    std::vector<int> moves = order;
    permute(rows_, moves);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(newPosition[size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);

    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
