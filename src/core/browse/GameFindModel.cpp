#include "core/browse/GameFindModel.h"

#include "core/browse/GameListModel.h"
#include "core/catalogue/Catalogue.h"
#include "core/common/CoreText.h"
#include "core/gamedata/GameData.h"
#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"

#include <QTimer>

namespace zanku {

GameFindModel::GameFindModel(GameListModel *games, const Library &library, QObject *parent)
    : QAbstractProxyModel(parent)
    , games_(games)
    , library_(library)
{
    QAbstractProxyModel::setSourceModel(games);
    connect(games, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        beginResetModel();
        index_ = FindIndex();
        indexed_ = building_ = false;
    });
    connect(games, &QAbstractItemModel::modelReset, this, &GameFindModel::catalogueRead);
    connect(games, &QAbstractItemModel::layoutAboutToBeChanged, this,
            &GameFindModel::sourceSorting);
    connect(games, &QAbstractItemModel::layoutChanged, this, &GameFindModel::sourceSorted);
    connect(games, &QAbstractItemModel::headerDataChanged, this,
            &QAbstractItemModel::headerDataChanged);
    connect(&library, &Library::historyChanged, this, &GameFindModel::historyChanged);
    // The details arrived: the next key finds by them too. The rows shown stay as they are.
    connect(&library.metadata(), &LibraryMetadata::changed, this, [this] {
        indexed_ = building_ = false;
        if (text_.isEmpty())
            indexWhenIdle();
    });
    // A slice of the index at a time while nothing else waits.
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, [this] {
        if (!std::exchange(building_, true))
            index_.begin(library_);
        if (index_.build(library_, IndexSlice)) {
            indexed_ = true;
            building_ = false;
            slices_.stop();
        }
    });
    collectRows();
}

void GameFindModel::listShown()
{
    listShown_ = true;
    games_->sortRest();
    indexWhenIdle();
}

bool GameFindModel::indexReady() const
{
    return indexed_ && !games_->sortPending();
}

void GameFindModel::indexWhenIdle()
{
    // Before the list is first seen, the index would only delay it.
    if (!indexed_ && listShown_)
        slices_.start();
}

void GameFindModel::catalogueRead()
{
    // A new catalogue: the text found before applies to it again. Without one, the index
    // is made in slices once the list has been seen; a key typed sooner finishes it.
    if (!text_.isEmpty())
        ensureIndexed();
    narrowed_ = !text_.isEmpty() && index_.find(text_);
    collectRows(true);
    endResetModel();
    indexWhenIdle();
}

void GameFindModel::ensureIndexed()
{
    if (indexed_)
        return;
    if (!std::exchange(building_, true))
        index_.begin(library_);
    index_.build(library_, library_.GameCount());
    indexed_ = true;
    building_ = false;
    slices_.stop();
}

void GameFindModel::setFindText(const QString &text)
{
    if (text == text_)
        return;
    beginResetModel();
    text_ = text;
    ensureIndexed();
    narrowed_ = index_.find(text);
    collectRows();
    endResetModel();
}

void GameFindModel::setShow(Show show, const QString &collection)
{
    const QString named = show == Show::Collection ? collection : QString();
    if (show == show_ && named == collection_)
        return;
    beginResetModel();
    show_ = show;
    collection_ = named;
    collectRows();
    endResetModel();
}

void GameFindModel::historyChanged()
{
    if (show_ != Show::All) {
        beginResetModel();
        collectRows();
        endResetModel();
    } else if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {FavouriteRole, Qt::ToolTipRole});
    }
}

QVariant GameFindModel::data(const QModelIndex &proxyIndex, int role) const
{
    if ((role != FavouriteRole && role != Qt::ToolTipRole) || !proxyIndex.isValid())
        return QAbstractProxyModel::data(proxyIndex, role);
    const GameKey key = keyAt(proxyIndex.row());
    const std::optional<PlayHistory::Game> game = library_.gameData().played(key);
    if (role == FavouriteRole)
        return game && game->favourite;
    const QString with = library_.gameData().launchWith(key);
    return PlayHistory::describe(game) +
           (with.isEmpty() ? QString() : CoreText::tr("\nLaunches with %1").arg(with));
}

bool GameFindModel::shownBy(int sourceRow) const
{
    switch (show_) {
    case Show::All:
        return true;
    case Show::Favourites:
        return library_.gameData().isFavourite(games_->keyAt(sourceRow));
    case Show::Collection:
        return library_.gameData().isIn(games_->keyAt(sourceRow), collection_);
    }
    return true;
}

void GameFindModel::collectRows(bool reordered)
{
    const int rows = games_->rowCount();
    // Every row shown reads none of them: the list's order may still be being completed.
    const bool all = !narrowed_ && show_ == Show::All;
    if (reordered || rowSlots_.size() != size_t(rows))
        rowSlotsRead_ = false;
    if (!all && !rowSlotsRead_) {
        rowSlots_.resize(size_t(rows));
        for (int row = 0; row < rows; ++row)
            rowSlots_[size_t(row)] = games_->slotAt(row);
        rowSlotsRead_ = true;
    }
    sourceRows_.clear();
    sourceRows_.reserve(size_t(narrowed_ ? index_.matchCount() : rows));
    proxyRows_.assign(size_t(rows), -1);
    for (int row = 0; row < rows; ++row) {
        if (all || ((!narrowed_ || index_.matches(rowSlots_[size_t(row)])) && shownBy(row))) {
            proxyRows_[size_t(row)] = int(sourceRows_.size());
            sourceRows_.push_back(row);
        }
    }
}

void GameFindModel::sourceSorting()
{
    // The rows a view holds on to (its selection, its current row) follow their games.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortedFrom_ = persistentIndexList();
    sortedSlots_.clear();
    for (const QModelIndex &index : std::as_const(sortedFrom_))
        sortedSlots_.push_back(slotAt(index.row()));
}

void GameFindModel::sourceSorted()
{
    collectRows(true);
    std::vector<int> rowOfSlot(size_t(library_.GameCount()) + 1, -1);
    for (int row = 0; row < int(sourceRows_.size()); ++row) {
        const int slot = games_->slotAt(sourceRows_[size_t(row)]);
        if (slot >= 0 && size_t(slot) < rowOfSlot.size())
            rowOfSlot[size_t(slot)] = row;
    }
    QModelIndexList to;
    for (qsizetype i = 0; i < sortedFrom_.size(); ++i) {
        const int slot = sortedSlots_[size_t(i)];
        const int row = slot > 0 && size_t(slot) < rowOfSlot.size() ? rowOfSlot[size_t(slot)] : -1;
        to.append(row >= 0 ? index(row, sortedFrom_[i].column()) : QModelIndex());
    }
    changePersistentIndexList(sortedFrom_, to);
    sortedFrom_.clear();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex GameFindModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex GameFindModel::parent(const QModelIndex &) const
{
    return {};
}

int GameFindModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(sourceRows_.size());
}

int GameFindModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : games_->columnCount();
}

QModelIndex GameFindModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || size_t(proxyIndex.row()) >= sourceRows_.size())
        return {};
    return games_->index(sourceRows_[size_t(proxyIndex.row())], proxyIndex.column());
}

QModelIndex GameFindModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || size_t(sourceIndex.row()) >= proxyRows_.size())
        return {};
    const int row = proxyRows_[size_t(sourceIndex.row())];
    return row >= 0 ? index(row, sourceIndex.column()) : QModelIndex();
}

QVariant GameFindModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return games_->headerData(section, orientation, role);
}

int GameFindModel::slotAt(int row) const
{
    return row < 0 || size_t(row) >= sourceRows_.size() ? 0
                                                        : games_->slotAt(sourceRows_[size_t(row)]);
}

GameKey GameFindModel::keyAt(int row) const
{
    return row < 0 || size_t(row) >= sourceRows_.size() ? GameKey()
                                                        : games_->keyAt(sourceRows_[size_t(row)]);
}

QString GameFindModel::cell(int row, int column) const
{
    return row < 0 || size_t(row) >= sourceRows_.size()
               ? QString()
               : games_->cell(sourceRows_[size_t(row)], column);
}

QString GameFindModel::countText() const
{
    return narrowed_ || show_ != Show::All ? GameCountText(rowCount(), games_->rowCount())
                                           : GameCountText(games_->rowCount());
}

} // namespace zanku
