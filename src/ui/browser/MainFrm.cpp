#include "ui/browser/MainFrm.h"

#include "core/catalogue/GameFindModel.h"
#include "core/catalogue/GameListModel.h"
#include "core/library/Library.h"
#include "ui/browser/EmptyListHint.h"
#include "ui/browser/FindBar.h"
#include "ui/browser/SnapshotFrame.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Layout.h"
#include "ui/common/Messages.h"
#include "ui/common/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>

#include <utility>

namespace {
constexpr int NarrowListWidth = 4095;
constexpr int WideListWidth = 10335;
constexpr int NarrowColumns[] = {4095, 2000, 1822};
constexpr int WideColumns[] = {5000, 2550, 2500};
} // namespace

MainFrm::MainFrm(zanku::Library &library, QWidget *parent)
    : QMainWindow(parent)
    , library_(library)
    , model_(new GameListModel(this))
{
    setWindowTitle(QStringLiteral("Zanku - A Multiple Emulator Front-End by Ervo Kallinder"));
    setWindowIcon(AppIcon());
    setFont(ArialFont(9.75));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    buildMenus();

    // The game highlighted is remembered while its slot still names it.
    connect(&library_, &zanku::Library::catalogueAboutToChange, this, [this] {
        const int row = highlightedRow();
        highlightedKey_ = row >= 0 ? keyOf(row) : QStringList();
    });
    connect(&library_, &zanku::Library::catalogueChanged, this, &MainFrm::catalogueChanged);
    connect(&library_, &zanku::Library::notice, this,
            [](const QString &title, const QString &text) { ShowMessage(title, text); });
    connect(&library_, &zanku::Library::launchStatus, this, &MainFrm::setStatusText);
    // Held while a launch prepares its game; the keyboard focus goes back where it was.
    connect(&library_, &zanku::Library::launchBusy, this, [this](bool busy) {
        if (busy) {
            focusBeforeLaunch_ = focusWidget();
            setEnabled(false);
            return;
        }
        setEnabled(true);
        if (focusBeforeLaunch_ != nullptr && focusBeforeLaunch_->isEnabled())
            focusBeforeLaunch_->setFocus();
    });
}

void MainFrm::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips(10530), Twips(5640));
    setCentralWidget(client);

    Lista = new QTableView(client);
    Lista->setObjectName(QStringLiteral("Lista"));
    Lista->setGeometry(TwipsRect(120, 120, NarrowListWidth, 4575));
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
    Lista->setMouseTracking(true);
    Lista->viewport()->installEventFilter(this);
    // A header's mouse events go to its viewport.
    Lista->horizontalHeader()->viewport()->installEventFilter(this);
    Lista->installEventFilter(this);
    new EmptyListHint(Lista, library_);
    connect(Lista, &QTableView::clicked, this, &MainFrm::Lista_Click);
    connect(Lista, &QTableView::doubleClicked, this, &MainFrm::Lista_DblClick);
    connect(Lista->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &MainFrm::Lista_HeaderClick);
    connect(Lista->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainFrm::Lista_RowColChange);

    Launch = new QPushButton(QStringLiteral("Launch Game"), client);
    Launch->setObjectName(QStringLiteral("Launch"));
    Launch->setGeometry(TwipsRect(120, 4800, 2655, 795));
    Launch->setFont(ArialFont(18, true, true));
    Launch->setEnabled(false);
    connect(Launch, &QPushButton::clicked, this, &MainFrm::Launch_Click);

    Expand = new QPushButton(QStringLiteral(">>"), client);
    Expand->setObjectName(QStringLiteral("Expand"));
    Expand->setGeometry(TwipsRect(3120, 4800, 975, 255));
    connect(Expand, &QPushButton::clicked, this, &MainFrm::Expand_Click);

    Exit = new QPushButton(QStringLiteral("Exit"), client);
    Exit->setObjectName(QStringLiteral("Exit"));
    Exit->setGeometry(TwipsRect(3000, 5160, 1215, 375));
    connect(Exit, &QPushButton::clicked, this, &MainFrm::Exit_Click);

    Frame1 = new SnapshotFrame(client);
    Frame1->setGeometry(TwipsRect(4320, 0, 6135, 5475));

    QStatusBar *status = statusBar();
    status->setObjectName(QStringLiteral("Status"));
    status->setSizeGripEnabled(false);
    status->setFixedHeight(Twips(345));
    statusPanel1_ = new QLabel(QStringLiteral("Waiting for selection..."), status);
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel1_->setFixedWidth(Twips(8000));
    statusPanel2_ = new QLabel(QStringLiteral("Games:"), status);
    statusPanel2_->setObjectName(QStringLiteral("StatusPanel2"));
    statusPanel2_->setFixedWidth(Twips(2500));
    status->addWidget(statusPanel1_);
    status->addWidget(statusPanel2_);
    Find = new FindBar(Lista);
    connect(Find, &QLineEdit::textChanged, this, &MainFrm::findChanged);
    connect(Find, &FindBar::moved, this, &MainFrm::selectionMoved);
    connect(Find, &FindBar::launch, this, &MainFrm::launchCurrentRow);
    connect(Find, &FindBar::closed, this, &MainFrm::findClosed);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainFrm::buildMenus()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("File"));
    fileMenu->setObjectName(QStringLiteral("FileM"));
    QAction *exitAction = fileMenu->addAction(QStringLiteral("Exit"), this, &MainFrm::Exit_Click);
    exitAction->setObjectName(QStringLiteral("ExitM"));
    buildPlayedMenus(fileMenu, exitAction);

    QMenu *optionsMenu = menuBar()->addMenu(QStringLiteral("Options"));
    optionsMenu->setObjectName(QStringLiteral("OptionsM"));
    optionsMenu->addAction(QStringLiteral("Emulator Config"), this, &MainFrm::ENewM_Click)
        ->setObjectName(QStringLiteral("ENewM"));
    optionsMenu->addAction(QStringLiteral("Edit Roms List"), this, &MainFrm::ERomM_Click)
        ->setObjectName(QStringLiteral("ERomM"));
    optionsMenu->addAction(QStringLiteral("Import Games..."), this, &MainFrm::ImportM_Click)
        ->setObjectName(QStringLiteral("ImportM"));

    // Ctrl+F opens the find field, as typing on the list does.
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] { Find->open(); });

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    helpMenu->setObjectName(QStringLiteral("HelpM"));
    helpMenu->addAction(QStringLiteral("About"), this, &MainFrm::AboutM_Click)
        ->setObjectName(QStringLiteral("AboutM"));
}

void MainFrm::Form_Load()
{
    setListWidth(false);
    library_.start();
}

QString MainFrm::statusText() const
{
    return statusPanel1_->text();
}

void MainFrm::setStatusText(const QString &text)
{
    statusPanel1_->setText(text);
    // While a launch holds the window, show each step at once: an extraction can take
    // a while. Otherwise the next paint is soon enough.
    if (!isEnabled())
        statusPanel1_->repaint();
}

void MainFrm::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    // The other windows go with this one without being asked: an editor's unsaved rows
    // are dropped and nothing is reloaded.
    for (QWidget *child : findChildren<QWidget *>()) {
        if (child->isWindow())
            child->hide();
    }
    event->accept();
}

void MainFrm::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    library_.CleanupExtraction();
    emit unloaded();
}

void MainFrm::endProgramWhenUnloaded()
{
    // Not QCoreApplication::quit(): that first asks every window to close, and a window
    // may refuse.
    connect(
        this, &MainFrm::unloaded, qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void MainFrm::Exit_Click()
{
    close();
}

void MainFrm::Expand_Click()
{
    library_.CleanupExtraction();
    Expanded = !Expanded;
    setListWidth(Expanded);
}

void MainFrm::setListWidth(bool expanded)
{
    Frame1->setVisible(!expanded);
    QRect geometry = Lista->geometry();
    geometry.setWidth(Twips(expanded ? WideListWidth : NarrowListWidth));
    Lista->setGeometry(geometry);
    const int *widths = expanded ? WideColumns : NarrowColumns;
    for (int column = 0; column < GameListModel::ColumnCount; ++column)
        Lista->setColumnWidth(column, Twips(widths[column]));
    Expand->setText(expanded ? QStringLiteral("<<") : QStringLiteral(">>"));
    Expand->setToolTip(expanded ? QStringLiteral("Narrow the game list and show the snapshot again")
                                : QStringLiteral("Widen the game list to show each game's type and "
                                                 "emulator too (hides the snapshot)"));
    if (Find != nullptr)
        Find->follow();
}

bool MainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress) {
        // Like the grid's "row under the mouse pointer": it keeps its last value when the
        // pointer leaves the grid.
        const QPoint position = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (watched == Lista->horizontalHeader()->viewport()) {
            mouseRow_ = 0;
        } else if (watched == Lista->viewport()) {
            const QModelIndex index = Lista->indexAt(position);
            mouseRow_ = index.isValid() ? index.row() + 1 : -1;
            if (event->type() == QEvent::MouseButtonPress)
                previewedOnPress_ = false;
        }
    } else if (watched == Lista && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            highlightedRow() >= 0) {
            launchCurrentRow();
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
    return QMainWindow::eventFilter(watched, event);
}

void MainFrm::Launch_Click()
{
    launchCurrentRow();
}

void MainFrm::Lista_Click(const QModelIndex &index)
{
    if (library_.EmulatorCount() == 0 || !index.isValid())
        return;
    Launch->setEnabled(true);
    // A click that moved to this row has just shown it, on the press.
    if (std::exchange(previewedOnPress_, false))
        return;
    ShowSelectedGame();
}

void MainFrm::Lista_HeaderClick(int column)
{
    if (library_.EmulatorCount() == 0)
        return;
    model_->sortByTitleClick(column);
    const QModelIndex current = Lista->currentIndex();
    if (current.isValid()) {
        Lista->selectionModel()->setCurrentIndex(shown_->index(current.row(), column),
                                                 QItemSelectionModel::NoUpdate);
    }
}

void MainFrm::Lista_DblClick(const QModelIndex &index)
{
    if (index.isValid() && library_.EmulatorCount() != 0)
        launchCurrentRow();
}

void MainFrm::Lista_RowColChange()
{
    if (library_.EmulatorCount() == 0 || !mouseIsOverDataRow() || !Lista->currentIndex().isValid())
        return;
    Launch->setEnabled(true);
    ShowSelectedGame();
    previewedOnPress_ = QGuiApplication::mouseButtons() != Qt::NoButton;
}

int MainFrm::highlightedRow() const
{
    const QModelIndex current = Lista->currentIndex();
    return current.isValid() && Lista->selectionModel()->isRowSelected(current.row())
               ? current.row()
               : -1;
}

void MainFrm::launchCurrentRow()
{
    const int row = highlightedRow();
    const int slot = shown_->slotAt(row);
    library_.LaunchGame(slot, slot != 0 ? shown_->cell(row, 0) : QString(),
                        slot != 0 ? shown_->cell(row, 2) : QString());
}

void MainFrm::ShowSelectedGame()
{
    library_.CleanupExtraction();
    const int row = Lista->currentIndex().row();
    const int slot = shown_->slotAt(row);
    Frame1->showPicture(slot != 0 ? library_.snapshotOf(slot, shown_->cell(row, 2)) : QString());
}
