#include "core/browse/GameListModel.h"

#include "core/browse/SortKeys.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/common/CoreText.h"
#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"
#include "core/preview/CoverLoader.h"

#include <algorithm>
#include <numeric>

namespace {
// English here, translated when shown.
const std::array<const char *, GameListModel::ColumnCount> ColumnTitles = {
    QT_TRANSLATE_NOOP("Core", "Game Name"), QT_TRANSLATE_NOOP("Core", "Type"),
    QT_TRANSLATE_NOOP("Core", "Emulator"), QT_TRANSLATE_NOOP("Core", "Year"),
    QT_TRANSLATE_NOOP("Core", "Genre")};

// Puts the rows in this order (position i gets old row order[i]) in place, a cycle of
// the permutation at a time; `order` is used up.
template <typename Row> void permute(std::vector<Row> &rows, std::vector<int> &order)
{
    for (size_t first = 0; first < order.size(); ++first) {
        if (order[first] < 0 || size_t(order[first]) == first)
            continue;
        Row held = std::move(rows[first]);
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
    connect(&order_, &zanku::DeferredOrder::ready, this, [this] { orderedRows(); });
}

GameListModel::~GameListModel() = default;

GameListModel::Texts GameListModel::textsOf(Shown row) const
{
    if (library_ == nullptr) {
        const Row &own = own_[size_t(row)];
        return {own.name, own.type, own.file, own.emulator};
    }
    // Between a new catalogue and the fill that follows it, a row may name no game.
    if (row < 1 || row > library_->GameCount())
        return {{}, {}, {}, 0};
    const GameTable &games = library_->games();
    const auto slot = size_t(row);
    const int emulator = games.emulator(slot);
    const bool listed = emulator >= 1 && size_t(emulator) < emulators_.size();
    return {games.name(slot), games.type(slot), games.file(slot), listed ? emulator : 0};
}

QStringView GameListModel::cellOf(Shown row, int column) const
{
    const Texts texts = textsOf(row);
    switch (column) {
    case 0:
        return texts.name;
    case 1:
        return texts.type;
    default:
        return size_t(texts.emulator) < emulators_.size()
                   ? QStringView(emulators_[size_t(texts.emulator)].name)
                   : QStringView();
    }
}

GameListModel::Shown GameListModel::shownAt(size_t row) const
{
    return row < zanku::DeferredOrder::FirstRows ? rows_[row] : orderedRows()[row];
}

const std::vector<GameListModel::Shown> &GameListModel::orderedRows() const
{
    if (order_.pending())
        rows_ = order_.complete();
    return rows_;
}

GenericSortKeys GameListModel::keysOf(int column) const
{
    const std::vector<Shown> &rows = orderedRows();
    return GenericSortKeys(rows.size(),
                           [this, &rows, column](size_t i) { return cellOf(rows[i], column); });
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
    const Shown row = shownAt(size_t(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        return index.column() < YearColumn ? cellOf(row, index.column()).toString()
                                           : detailOf(row, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case KeyRole:
        return QVariant::fromValue(keyAt(index.row()));
    case CoverRole:
        return coverOf(row);
    default:
        return {};
    }
}

QVariant GameListModel::coverOf(Shown row) const
{
    const Texts texts = textsOf(row);
    const QString &folder = size_t(texts.emulator) < emulators_.size()
                                ? emulators_[size_t(texts.emulator)].coverFolder
                                : QString();
    // The pictures the player's metadata names, where the snapshot directory has none.
    const QStringList named =
        metadata_ != nullptr ? metadata_->picturesNamed(slotOf(row)) : QStringList();
    if (covers_ == nullptr || (folder.isEmpty() && named.isEmpty()))
        return QVariant::fromValue(Cover{});
    const zanku::CoverLoader::Cover cover =
        covers_->cover({cellOf(row, 2).toString(), texts.name.toString(), texts.file.toString()},
                       {folder, texts.name.toString(), texts.file.toString(), named}, coverSize_);
    return QVariant::fromValue(Cover{cover.ready, cover.image});
}

QString GameListModel::detailOf(Shown row, int column) const
{
    const zanku::GameMetadata *details =
        metadata_ != nullptr ? metadata_->of(slotOf(row)) : nullptr;
    if (details == nullptr)
        return {};
    if (column == YearColumn)
        return details->year() != 0 ? QString::number(details->year()) : QString();
    return details->genre().trimmed().toString();
}

void GameListModel::enableCovers(const QString &cacheFolder)
{
    if (covers_ != nullptr)
        return;
    covers_ = new zanku::CoverLoader(cacheFolder, this);
    connect(covers_, &zanku::CoverLoader::coverReady, this, &GameListModel::coverArrived);
}

void GameListModel::dropQueuedCovers()
{
    if (covers_ != nullptr)
        covers_->dropQueued();
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return zanku::CoreText::tr(ColumnTitles[size_t(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void GameListModel::setRows(std::vector<Row> rows, std::vector<Emulator> emulators)
{
    GenericSortKeys names(rows.size(),
                          [&rows](size_t i) -> const QString & { return rows[i].name; });
    std::vector<Shown> shown = order_.begin(std::move(names), rows.size(), 0);
    adoptRows(std::move(shown), std::move(emulators), nullptr, std::move(rows));
}

void GameListModel::adoptRows(std::vector<Shown> rows, std::vector<Emulator> emulators,
                              const zanku::Library *library, std::vector<Row> own)
{
    beginResetModel();
    rows_ = std::move(rows);
    emulators_ = std::move(emulators);
    library_ = library;
    own_ = std::move(own);
    // The pictures may have changed with the files: they are read again.
    if (covers_ != nullptr)
        covers_->clear();
    endResetModel();
}

void GameListModel::FillGameList(const zanku::Library &library)
{
    // Place 0 is no emulator: a game whose emulator slot is out of range.
    std::vector<Emulator> emulators(1);
    for (int e = 1; e <= library.EmulatorCount(); ++e) {
        const zanku::EmulatorPlaces places(library.emulator(e), library.programDir());
        emulators.push_back({library.emulator(e).Name, places.coverPlaceOf({}, {}).snapshotDir});
    }
    if (metadata_ == nullptr) {
        // The details arrive after the rows: only their two columns change.
        metadata_ = &library.metadata();
        connect(metadata_, &zanku::LibraryMetadata::changed, this, [this] {
            // The covers found missing may be among the pictures the details name.
            if (covers_ != nullptr)
                covers_->forgetMissing();
            if (!rows_.empty())
                emit dataChanged(index(0, 0), index(rowCount() - 1, GenreColumn));
        });
    }
    // The rows in order of the games' names, read where they lie; the keys' numbers plus
    // one are slots.
    const auto count = size_t(library.GameCount());
    GenericSortKeys names(count,
                          [&games = library.games()](size_t i) { return games.name(i + 1); });
    adoptRows(order_.begin(std::move(names), count, 1), std::move(emulators), &library);
}

QString GameListModel::cell(int row, int column) const
{
    if (row < 0 || size_t(row) >= rows_.size())
        return {};
    const Shown at = shownAt(size_t(row));
    return column < YearColumn ? cellOf(at, column).toString() : detailOf(at, column);
}

int GameListModel::slotAt(int row) const
{
    return row >= 0 && size_t(row) < rows_.size() ? slotOf(shownAt(size_t(row))) : 0;
}

zanku::GameKey GameListModel::keyAt(int row) const
{
    if (row < 0 || size_t(row) >= rows_.size())
        return {};
    const Shown shown = shownAt(size_t(row));
    const Texts texts = textsOf(shown);
    if (texts.name.isEmpty())
        return {};
    return {cellOf(shown, 2).toString(), texts.name.toString(), texts.file.toString()};
}

GenericSortKeys GameListModel::keysFor(int column) const
{
    if (column < YearColumn)
        return keysOf(column);
    const std::vector<Shown> &rows = orderedRows();
    std::vector<QString> cells(rows.size());
    for (size_t row = 0; row < rows.size(); ++row)
        cells[row] = detailOf(rows[row], column);
    return GenericSortKeys(cells);
}

std::vector<int> GameListModel::sortedBy(int column, const GenericSortKeys &keys) const
{
    const std::vector<Shown> &rows = orderedRows();
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    // A year or a genre missing goes last, the rows without one in the order they were.
    const auto valued =
        column < YearColumn
            ? order.end()
            : std::stable_partition(order.begin(), order.end(), [this, &rows, column](int row) {
                  return !detailOf(rows[size_t(row)], column).isEmpty();
              });
    keys.sort(order.begin(), valued);
    return order;
}

void GameListModel::sortByColumn(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    applyOrder(sortedBy(column, keysFor(column)));
}

void GameListModel::sortByTitleClick(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    const GenericSortKeys keys = keysFor(column);
    std::vector<int> order = sortedBy(column, keys);
    if (column != 0) {
        // A run holds the rows the sort found equal: "Rpg" and "RPG" alike, or no genre.
        const GenericSortKeys names = keysOf(0);
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
    orderedRows();
    permute(rows_, moves);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(newPosition[size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);

    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
