#include "ui/browser/CoverView.h"

#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "ui/browser/CoverDelegate.h"
#include "ui/browser/EmptyListHint.h"

#include <QScrollBar>
#include <QStandardPaths>

#include <algorithm>

CoverView::CoverView(zanku::GameFindModel &shown, QItemSelectionModel *selection,
                     const zanku::Library &library, QWidget *parent)
    : QListView(parent)
    , games_(static_cast<GameListModel *>(shown.sourceModel()))
{
    games_->enableCovers(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                         QStringLiteral("/covers"));
    setObjectName(QStringLiteral("Covers"));
    // Tiles in rows that fill the width, laid out once for all games alike.
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    // Always there, so spreading the tiles over the width never makes it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setModel(&shown);
    setSelectionModel(selection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    delegate_ = new CoverDelegate(this);
    games_->setCoverSize(delegate_->pictureSize());
    setItemDelegate(delegate_);
    new EmptyListHint(this, library);
    connect(games_, &GameListModel::coverArrived, this, [this] {
        if (isVisible())
            viewport()->update();
    });
    // Pictures asked for and not yet read are of tiles scrolled away: the next paint asks
    // for those in view.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, games_,
            &GameListModel::dropQueuedCovers);
}

void CoverView::setLarge(bool large)
{
    delegate_->setLarge(large);
    games_->setCoverSize(delegate_->pictureSize());
    spread();
    doItemsLayout();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

bool CoverView::complete() const
{
    return delegate_->paintedComplete();
}

void CoverView::paintEvent(QPaintEvent *event)
{
    delegate_->startPaint();
    QListView::paintEvent(event);
}

void CoverView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    spread();
}

void CoverView::spread()
{
    // As many whole tiles as a row holds, the room left shared out between them. A row
    // wraps before a tile that would touch its far edge: a pixel is kept clear.
    constexpr int Gap = 8;
    const QSize tile = delegate_->tileSize(fontMetrics()) + QSize(Gap, Gap);
    const int width = viewport()->width() - 1;
    const int columns = std::max(1, width / tile.width());
    const QSize grid(std::max(tile.width(), width / columns), tile.height());
    if (gridSize() != grid)
        setGridSize(grid);
}
