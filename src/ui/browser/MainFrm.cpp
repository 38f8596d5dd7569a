#include "ui/browser/MainFrm.h"

#include "core/library/Library.h"
#include "ui/about/AboutFrm.h"
#include "ui/browser/GameDetailsPanel.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/LaunchFailureStrip.h"
#include "ui/browser/MainFrmLayout.h"
#include "ui/browser/RecentMenu.h"
#include "ui/browser/SnapshotFrame.h"
#include "ui/browser/SteamAdd.h"
#include "ui/browser/ViewModes.h"
#include "ui/browser/WindowMemory.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Layout.h"
#include "ui/common/Messages.h"
#include "ui/common/Twips.h"
#include "ui/editor/OptionsFrm.h"
#include "ui/import/ImportFrm.h"
#include "ui/input/GamepadInput.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>

MainFrm::MainFrm(zanku::Library &library, QWidget *parent)
    : QMainWindow(parent)
    , library_(library)
{
    setWindowTitle(tr("Zanku - A Multiple Emulator Front-End by Ervo Kallinder"));
    setWindowIcon(AppIcon());
    setFont(ArialFont(9.75));
    buildControls();
    buildMenus();

    // The list says which game is chosen and which to launch; the picture, the Launch
    // button and the count follow it.
    connect(list_, &GameListView::currentGameChanged, this, &MainFrm::ShowSelectedGame);
    connect(list_, &GameListView::launchRequested, &library_,
            [this](const zanku::GameKey &game) { library_.LaunchGame(game); });
    connect(list_, &GameListView::countChanged, statusPanel2_, &QLabel::setText);
    connect(Launch, &QPushButton::clicked, list_, &GameListView::launchCurrent);

    connect(&library_, &zanku::Library::notice, this,
            [](const QString &title, const QString &text) { ShowMessage(title, text); });
    connect(&library_, &zanku::Library::launchStatus, this, &MainFrm::setStatusText);
    connect(&library_, &zanku::Library::launchFailed, failure_, &LaunchFailureStrip::showFailure);
    connect(&library_, &zanku::Library::metadataProblem, this, &MainFrm::setStatusText);
    // Held while a launch prepares its game; the keyboard focus goes back where it was.
    connect(&library_, &zanku::Library::launchBusy, this, [this](bool busy) {
        if (busy) {
            failure_->hide(); // a new launch: the last one's failure is old news
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
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    // The design size is the first and the smallest; the controls follow a larger one.
    client_->setMinimumSize(MainFrmDesignSize());
    client_->installEventFilter(this);
    setCentralWidget(client_);

    list_ = new GameListView(library_, client_);
    viewModes_ = new ViewModes(*this, *list_, library_);
    connect(viewModes_, &ViewModes::layoutChanged, this, &MainFrm::placeControls);

    Launch = new QPushButton(tr("Launch Game"), client_);
    Launch->setObjectName(QStringLiteral("Launch"));
    Launch->setFont(ArialFont(18, true, true));
    Launch->setEnabled(false);

    Expand = new QPushButton(QStringLiteral(">>"), client_);
    Expand->setObjectName(QStringLiteral("Expand"));
    connect(Expand, &QPushButton::clicked, this, &MainFrm::Expand_Click);

    Exit = new QPushButton(tr("Exit"), client_);
    Exit->setObjectName(QStringLiteral("Exit"));
    connect(Exit, &QPushButton::clicked, this, &QWidget::close);

    Frame1 = new SnapshotFrame(client_);
    failure_ = new LaunchFailureStrip(client_);
    Frame1->hostBelow(new GameDetailsPanel(library_, *list_, Frame1));

    QStatusBar *status = statusBar();
    status->setObjectName(QStringLiteral("Status"));
    status->setFixedHeight(Twips(345));
    statusPanel1_ = new QLabel(tr("Waiting for selection..."), status);
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel1_->setMinimumWidth(Twips(8000));
    statusPanel2_ = new QLabel(tr("Games:"), status);
    statusPanel2_->setObjectName(QStringLiteral("StatusPanel2"));
    statusPanel2_->setFixedWidth(Twips(2500));
    status->addWidget(statusPanel1_, 1);
    status->addWidget(statusPanel2_);

    resize(MainFrmDesignSize().width(),
           MainFrmDesignSize().height() + menuBar()->sizeHint().height() + status->height());
    placeControls();
}

void MainFrm::placeControls()
{
    const MainFrmPlaces places = PlaceMainFrm(client_->size(), Expanded, list_->coversShown());
    list_->setGeometry(places.list);
    Launch->setGeometry(places.launch);
    Expand->setGeometry(places.expand);
    Exit->setGeometry(places.exit);
    Frame1->setVisible(!places.snapshot.isEmpty());
    if (!places.snapshot.isEmpty())
        Frame1->setGeometry(places.snapshot);
    failure_->placeIn(client_->rect());
}

bool MainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        placeControls();
    return QMainWindow::eventFilter(watched, event);
}

void MainFrm::buildMenus()
{
    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("FileM"));
    fileMenu->addMenu(new RecentMenu(library_, fileMenu));
    AddShownGamesItem(*fileMenu, library_, *list_->shown());
    fileMenu->addSeparator();
    fileMenu->addAction(tr("E&xit"), this, &QWidget::close)->setObjectName(QStringLiteral("ExitM"));

    QMenu *optionsMenu = menuBar()->addMenu(tr("&Options"));
    optionsMenu->setObjectName(QStringLiteral("OptionsM"));
    optionsMenu
        ->addAction(tr("&Emulator Config"), this,
                    [this] {
                        library_.CleanupExtraction();
                        showEditor(EditorMode::Emulators);
                    })
        ->setObjectName(QStringLiteral("ENewM"));
    optionsMenu
        ->addAction(tr("Edit &Roms List"), this,
                    [this] {
                        library_.CleanupExtraction();
                        showEditor(EditorMode::Roms);
                    })
        ->setObjectName(QStringLiteral("ERomM"));
    optionsMenu->addAction(tr("&Import Games..."), this, &MainFrm::ImportM_Click)
        ->setObjectName(QStringLiteral("ImportM"));

    // The chosen game's commands, made afresh each time the menu opens.
    QMenu *gameMenu = menuBar()->addMenu(tr("&Game"));
    gameMenu->setObjectName(QStringLiteral("GameM"));
    connect(gameMenu, &QMenu::aboutToShow, list_,
            [this, gameMenu] { list_->fillGameMenu(*gameMenu); });
    list_->fillGameMenu(*gameMenu);

    viewModes_->buildMenu();

    // Ctrl+F opens the find field, as typing on the list does.
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, list_, &GameListView::openFind);

    QMenu *helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("HelpM"));
    helpMenu->addAction(tr("&About"), this, &MainFrm::AboutM_Click)
        ->setObjectName(QStringLiteral("AboutM"));
}

void MainFrm::showAsRemembered(bool fullScreen)
{
    const WindowMemory memory = WindowMemory::read();
    viewModes_->showCovers(memory.covers);
    if (memory.geometry.isEmpty() || !restoreGeometry(memory.geometry)) {
        // The first run: the design size, in the middle of the screen.
        adjustSize();
        const QRect screen = this->screen()->availableGeometry();
        move(screen.center() - rect().center());
    }
    show();
    if (fullScreen)
        viewModes_->enterFullScreen();
}

void MainFrm::remember() const
{
    WindowMemory memory;
    memory.geometry = viewModes_->normalGeometry();
    memory.covers = list_->coversShown();
    memory.write();
}

void MainFrm::Form_Load()
{
    setListWidth(false);
    library_.start();
}

GameListModel *MainFrm::model() const
{
    return list_->model();
}

zanku::GameFindModel *MainFrm::shown() const
{
    return list_->shown();
}

OptionsFrm *MainFrm::editor() const
{
    return editor_;
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

void MainFrm::ShowSelectedGame(const zanku::GameKey &game, int slot)
{
    // What Launch starts is what the picture shows: the highlighted game, or none.
    Launch->setEnabled(!game.isNull());
    if (game.isNull()) {
        Frame1->showTitle();
        return;
    }
    library_.CleanupExtraction();
    Frame1->showPicture(slot != 0 ? library_.snapshotOf(game) : QString());
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
    if (isVisible())
        remember();
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

void MainFrm::Expand_Click()
{
    library_.CleanupExtraction();
    Expanded = !Expanded;
    setListWidth(Expanded);
}

void MainFrm::setListWidth(bool expanded)
{
    placeControls();
    list_->setExpanded(expanded);
    Expand->setText(expanded ? QStringLiteral("<<") : QStringLiteral(">>"));
    Expand->setToolTip(expanded ? tr("Narrow the game list and show the snapshot again")
                                : tr("Widen the game list to show each game's type and "
                                     "emulator too (hides the snapshot)"));
}

void MainFrm::AboutM_Click()
{
    library_.CleanupExtraction();
    if (about_ == nullptr)
        about_ = new AboutFrm(this);
    BringForward(about_);
}

void MainFrm::showEditor(EditorMode mode)
{
    if (editor_ != nullptr) {
        editor_->showAgain(mode);
        return;
    }
    editor_ = new OptionsFrm(library_, mode, this);
    BringForward(editor_);
}

void MainFrm::ImportM_Click()
{
    library_.CleanupExtraction();
    if (import_ == nullptr)
        import_ = new ImportFrm(library_, this);
    BringForward(import_);
}

void MainFrm::useGamepad(GamepadInput &gamepad)
{
    connect(&gamepad, &GamepadInput::backPressed, this, [this] {
        if (isActiveWindow() && Expand->isVisible()) // hidden under the couch view
            Expand->click();
    });
    viewModes_->useGamepad(gamepad);
    connect(&library_, &zanku::Library::emulatorsRunning, &gamepad, &GamepadInput::setSuspended);
    gamepad.setSuspended(library_.anyEmulatorRunning());
}
