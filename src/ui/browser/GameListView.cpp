#include "ui/browser/GameListView.h"

#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "core/gamedata/GameData.h"
#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"
#include "ui/browser/CoverView.h"
#include "ui/browser/EmptyListHint.h"
#include "ui/browser/FavouriteDelegate.h"
#include "ui/browser/FindBar.h"
#include "ui/browser/GameMenu.h"
#include "ui/common/Twips.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QStackedLayout>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace {
constexpr int NarrowColumns[] = {4095, 2000, 1822};
constexpr int WideColumns[] = {5000, 2550, 2500};
// Year and Genre, after them: they take width of their own, the others keep theirs.
constexpr int DetailColumns[] = {900, 1800};
// The list's design widths, narrow and wide, in twips.
constexpr int NarrowListWidth = 4095;
constexpr int WideListWidth = 10335;
// A held key or stick moves a row every few tens of milliseconds: the game is told once
// the row has rested this long, so running through a long list decodes no picture.
constexpr int RestMs = 80;
} // namespace

GameListView::GameListView(zanku::Library &library, QWidget *parent)
    : QWidget(parent)
    , library_(library)
    , model_(new GameListModel(this))
{
    views_ = new QStackedLayout(this);
    views_->setContentsMargins(0, 0, 0, 0);
    Lista = new QTableView(this);
    Lista->setObjectName(QStringLiteral("Lista"));
    views_->addWidget(Lista);
    shown_ = new zanku::GameFindModel(model_, library_, this);
    Lista->setModel(shown_);
    Lista->verticalHeader()->hide();
    Lista->verticalHeader()->setDefaultSectionSize(Lista->fontMetrics().height() + 4);
    Lista->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Lista->horizontalHeader()->setSectionsClickable(true);
    Lista->horizontalHeader()->setHighlightSections(false);
    Lista->horizontalHeader()->setStretchLastSection(false);
    Lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lista->setSelectionMode(QAbstractItemView::SingleSelection);
    Lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lista->setWordWrap(false);
    Lista->setSortingEnabled(false);
    Lista->setItemDelegate(new FavouriteDelegate(Lista));
    new EmptyListHint(Lista, library_);
    connect(Lista->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &GameListView::sortByTitle);
    Covers = new CoverView(*shown_, Lista->selectionModel(), library_, this);
    views_->addWidget(Covers);
    watchView(Lista);
    watchView(Covers);

    rest_.setSingleShot(true);
    rest_.setInterval(RestMs);
    connect(&rest_, &QTimer::timeout, this, &GameListView::tell);
    // A click makes its row current before it selects it: either change may be the move.
    // Both views share one selection: the chosen game is the same in each.
    connect(Lista->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GameListView::currentMoved);
    connect(Lista->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &GameListView::currentMoved);

    Find = new FindBar(Lista);
    connect(Find, &QLineEdit::textChanged, this, &GameListView::findChanged);
    connect(Find, &FindBar::moved, this, [this] {
        byKeys_ = true;
        currentMoved();
    });
    connect(Find, &FindBar::launch, this, &GameListView::launchCurrent);
    connect(Find, &FindBar::closed, this, &GameListView::findClosed);

    favouritesOnly_ = new QAction(tr("Show Favourites &Only"), this);
    favouritesOnly_->setObjectName(QStringLiteral("FavouritesOnlyM"));
    favouritesOnly_->setCheckable(true);
    connect(favouritesOnly_, &QAction::toggled, this, [this](bool only) {
        showGames(
            int(only ? zanku::GameFindModel::Show::Favourites : zanku::GameFindModel::Show::All));
    });
    auto *toggle = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    toggle->setContext(Qt::WindowShortcut);
    connect(toggle, &QShortcut::activated, this, &GameListView::toggleFavourite);

    connect(&library_.metadata(), &zanku::LibraryMetadata::changed, this,
            &GameListView::showDetailColumns);
    showDetailColumns();
    // The rows change under the chosen game: a reload, a favourite, a launch counted.
    connect(&library_, &zanku::Library::catalogueAboutToChange, this,
            [this] { beforeLoad_ = currentGame(); });
    connect(&library_, &zanku::Library::catalogueChanged, this, [this] {
        model_->FillGameList(library_);
        rowsChanged(beforeLoad_, true);
    });
    // The favourites filter has already dropped or taken rows by then: the game to keep
    // is the one chosen before.
    connect(&library_, &zanku::Library::historyChanged, this,
            [this] { rowsChanged(rest_.isActive() ? currentGame() : chosen_); });
}

void GameListView::watchView(QAbstractItemView *view)
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        // A click on the row already chosen shows it again, as a first click does.
        if (index.isValid() && !std::exchange(toldOnPress_, false))
            tell();
    });
    connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            launchCurrent();
    });
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint &at) { showRowMenu(view, at); });
}

QAbstractItemView *GameListView::activeView() const
{
    return coversShown_ ? static_cast<QAbstractItemView *>(Covers) : Lista;
}

void GameListView::setCoversShown(bool covers)
{
    if (covers == coversShown_)
        return;
    const bool focused = activeView()->hasFocus();
    coversShown_ = covers;
    views_->setCurrentWidget(activeView());
    Find->setList(activeView());
    // The chosen game stays chosen, and in view.
    const QModelIndex current = Lista->currentIndex();
    if (current.isValid())
        activeView()->scrollTo(current);
    if (focused)
        activeView()->setFocus();
}

void GameListView::setLargeCovers(bool large)
{
    Covers->setLarge(large);
}

bool GameListView::coversComplete() const
{
    return Covers->complete();
}

int GameListView::highlightedRow() const
{
    const QModelIndex current = Lista->currentIndex();
    return current.isValid() && Lista->selectionModel()->isRowSelected(current.row())
               ? current.row()
               : -1;
}

zanku::GameKey GameListView::currentGame() const
{
    return shown_->keyAt(highlightedRow());
}

void GameListView::setExpanded(bool expanded)
{
    expanded_ = expanded;
    fitColumns();
}

void GameListView::fitColumns()
{
    // The design widths, and what a larger window adds: all to the name in the narrow
    // list, half to the name and a quarter to each other column in the wide one.
    const int *widths = expanded_ ? WideColumns : NarrowColumns;
    const int added = std::max(0, width() - Twips(expanded_ ? WideListWidth : NarrowListWidth));
    const int shares[] = {expanded_ ? added / 2 : added, expanded_ ? added / 4 : 0,
                          expanded_ ? added / 4 : 0};
    for (int column = 0; column < GameListModel::YearColumn; ++column)
        Lista->setColumnWidth(column, Twips(widths[column]) + shares[column]);
    for (const int column : {GameListModel::YearColumn, GameListModel::GenreColumn})
        Lista->setColumnWidth(column, Twips(DetailColumns[column - GameListModel::YearColumn]));
    Find->follow();
}

void GameListView::setColumnWanted(int column, bool wanted)
{
    (column == GameListModel::YearColumn ? yearWanted_ : genreWanted_) = wanted;
    showDetailColumns();
}

void GameListView::showDetailColumns()
{
    const zanku::LibraryMetadata &metadata = library_.metadata();
    Lista->setColumnHidden(GameListModel::YearColumn, !(yearWanted_ && metadata.anyYear()));
    Lista->setColumnHidden(GameListModel::GenreColumn, !(genreWanted_ && metadata.anyGenre()));
}

void GameListView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitColumns();
}

void GameListView::openFind()
{
    Find->open();
}

void GameListView::launchCurrent()
{
    if (rest_.isActive())
        tell(); // what starts is what the picture shows, even mid-run through the list
    const zanku::GameKey game = currentGame();
    if (!game.isNull() && library_.EmulatorCount() != 0)
        emit launchRequested(game);
}

void GameListView::toggleFavourite()
{
    const zanku::GameKey game = currentGame();
    if (!game.isNull())
        library_.gameData().setFavourite(game, !library_.gameData().isFavourite(game));
}

void GameListView::showGames(int show, const QString &collection)
{
    const auto shows = zanku::GameFindModel::Show(show);
    const zanku::GameKey chosen = currentGame();
    const zanku::GameKey keep = chosen.isNull() ? hidden_ : chosen;
    shown_->setShow(shows, collection);
    {
        const QSignalBlocker quiet(favouritesOnly_);
        favouritesOnly_->setChecked(shows == zanku::GameFindModel::Show::Favourites);
    }
    rowsChanged(keep);
    hidden_ = currentGame().isNull() ? keep : zanku::GameKey();
}

void GameListView::fillGameMenu(QMenu &menu)
{
    FillGameMenu(menu, library_, currentGame(), this, [this] { launchCurrent(); });
}

void GameListView::currentMoved()
{
    if (moving_ || (currentGame() == chosen_ && !rest_.isActive()))
        return;
    // A key held down: each move waits for the next; the row it rests on is told.
    const bool held = byKeys_ && lastKeyMove_.isValid() && lastKeyMove_.elapsed() < RestMs;
    if (byKeys_)
        lastKeyMove_.restart();
    if (held)
        rest_.start();
    else
        tell();
}

void GameListView::tell()
{
    rest_.stop();
    toldOnPress_ = QGuiApplication::mouseButtons() != Qt::NoButton;
    const int row = library_.EmulatorCount() != 0 ? highlightedRow() : -1;
    chosen_ = shown_->keyAt(row);
    emit currentGameChanged(chosen_, chosen_.isNull() ? 0 : shown_->slotAt(row));
}

void GameListView::rowsChanged(const zanku::GameKey &keep, bool reread)
{
    emit countChanged(shown_->countText());
    const int slot = library_.slotOf(keep);
    int found = -1;
    for (int row = 0; slot != 0 && row < shown_->rowCount() && found < 0; ++row) {
        if (shown_->slotAt(row) == slot)
            found = row;
    }
    // Setting the current index, even to none, also keeps the grid's focus from making
    // a first row current that is not highlighted.
    moving_ = true;
    Lista->setCurrentIndex(found >= 0 ? shown_->index(found, 0) : QModelIndex());
    moving_ = false;
    if (found >= 0)
        activeView()->scrollTo(shown_->index(found, 0));
    // The same game still chosen is shown again only when the files were read again.
    if (reread || currentGame() != chosen_)
        tell();
}

void GameListView::sortByTitle(int column)
{
    if (library_.EmulatorCount() == 0)
        return;
    const zanku::GameKey keep = currentGame();
    model_->sortByTitleClick(column);
    rowsChanged(keep);
}

void GameListView::findChanged(const QString &text)
{
    shown_->setFindText(text);
    emit countChanged(shown_->countText());
    // The first match is the choice, as a click on it would make it.
    const bool any = shown_->rowCount() > 0;
    moving_ = true;
    Lista->setCurrentIndex(any ? shown_->index(0, 0) : QModelIndex());
    moving_ = false;
    if (any)
        activeView()->scrollToTop();
    tell();
}

void GameListView::findClosed()
{
    // Every row is back; the game chosen stays so, in view.
    const zanku::GameKey keep = currentGame();
    shown_->setFindText(QString());
    rowsChanged(keep);
    activeView()->setFocus();
}

void GameListView::showRowMenu(QAbstractItemView *view, const QPoint &at)
{
    const QModelIndex index = view->indexAt(at);
    QMenu menu(this);
    if (index.isValid() && library_.EmulatorCount() != 0) {
        // The row clicked is the one the commands act on, chosen as a click chooses it.
        byKeys_ = false;
        Lista->setCurrentIndex(shown_->index(index.row(), 0));
        fillGameMenu(menu);
        menu.addSeparator();
    }
    menu.addAction(favouritesOnly_);
    menu.exec(view->viewport()->mapToGlobal(at));
}

void GameListView::showRowMenuAtCurrent()
{
    // The menu key (a controller's Y): the menu of the chosen row, beside it.
    QAbstractItemView *view = activeView();
    const QModelIndex current = Lista->currentIndex();
    const QRect row = current.isValid() ? view->visualRect(current) : QRect();
    showRowMenu(view, row.isValid() ? row.center() : QPoint(0, 0));
}

bool GameListView::eventFilter(QObject *watched, QEvent *event)
{
    const bool view = watched == Lista || watched == Covers;
    const bool viewport = watched == Lista->viewport() || watched == Covers->viewport();
    // The rows keep the height of their text, large in the couch view.
    if (watched == Lista && event->type() == QEvent::FontChange)
        Lista->verticalHeader()->setDefaultSectionSize(Lista->fontMetrics().height() + 4);
    if (viewport && event->type() == QEvent::MouseButtonPress) {
        byKeys_ = false;
    } else if (viewport && event->type() == QEvent::Paint && !shown_->indexReady()) {
        // The find index waits for the list's first paint, and starts once it is shown.
        QMetaObject::invokeMethod(shown_, &zanku::GameFindModel::listShown, Qt::QueuedConnection);
    } else if (view && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        byKeys_ = true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            launchCurrent();
            return true;
        }
        if (key->key() == Qt::Key_Menu) {
            showRowMenuAtCurrent();
            return true;
        }
        // Typing finds a game: the find field takes the place of jumping to a prefix.
        const QString text = key->text();
        const bool command =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!text.isEmpty() && text.at(0).isPrint() && !command) {
            Find->open(text);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
