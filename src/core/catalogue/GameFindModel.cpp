#include "core/catalogue/GameFindModel.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/GameListModel.h"
#include "core/library/Library.h"

namespace zanku {

GameFindModel::GameFindModel(GameListModel *games, const Library &library, QObject *parent)
    : QSortFilterProxyModel(parent)
    , games_(games)
    , library_(library)
{
    setSourceModel(games);
    // The list's own order stays: nothing is sorted here.
    setDynamicSortFilter(false);
    connect(games, &QAbstractItemModel::modelAboutToBeReset, this, [this] { index_ = FindIndex(); });
    connect(games, &QAbstractItemModel::modelReset, this, &GameFindModel::catalogueRead);
}

void GameFindModel::catalogueRead()
{
    // A new catalogue: the text found before applies to it again.
    index_.rebuild(library_);
    narrowed_ = !text_.isEmpty() && index_.find(text_);
    invalidateRowsFilter();
}

void GameFindModel::setFindText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    narrowed_ = index_.find(text);
    invalidateRowsFilter();
}

bool GameFindModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return !narrowed_ || index_.matches(games_->slotAt(sourceRow));
}

int GameFindModel::slotAt(int row) const
{
    return row < 0 || row >= rowCount() ? 0 : games_->slotAt(mapToSource(index(row, 0)).row());
}

QString GameFindModel::cell(int row, int column) const
{
    return index(row, column).data().toString();
}

QString GameFindModel::countText() const
{
    return narrowed_ ? GameCountText(rowCount(), games_->rowCount())
                     : GameCountText(games_->rowCount());
}

} // namespace zanku
