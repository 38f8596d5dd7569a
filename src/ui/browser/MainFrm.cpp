#include "ui/browser/MainFrm.h"

#include "ui/about/AboutFrm.h"
#include "ui/common/AppIcon.h"
#include "core/common/AppState.h"
#include "ui/common/Layout.h"
#include "ui/common/Twips.h"
#include "ui/browser/EmptyListHint.h"
#include "core/launch/ExtractionJournal.h"
#include "core/catalogue/GameListModel.h"
#include "core/launch/Launch.h"
#include "core/preview/PictureFit.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"
#include "ui/import/ImportFrm.h"
#include "ui/editor/OptionsFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include <utility>

namespace {
constexpr int NarrowListWidth = 4095;
constexpr QSizeF FrameSize(6135, 5475);
constexpr QRect SnapDesign(120, 300, 5895, 5055);
constexpr int WideListWidth = 10335;
constexpr int NarrowColumns[] = {4095, 2000, 1822};
constexpr int WideColumns[] = {5000, 2550, 2500};
} // namespace

MainFrm::MainFrm(QWidget *parent)
    : QMainWindow(parent)
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
    App().Lista = model_;
}

MainFrm::~MainFrm()
{
    if (App().Lista == model_)
        App().Lista = nullptr;
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
    Lista->setModel(model_);
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
    new EmptyListHint(Lista);
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

    Frame1 = new QGroupBox(QStringLiteral("SnapShot"), client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(4320, 0, 6135, 5475));

    // The picture box: dark like the button text, it takes its picture's size.
    Snap = new QLabel(Frame1);
    Snap->setObjectName(QStringLiteral("Snap"));
    Snap->setGeometry(
        TwipsRect(SnapDesign.x(), SnapDesign.y(), SnapDesign.width(), SnapDesign.height()));
    Snap->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Snap->setAutoFillBackground(true);
    QPalette snapPalette = Snap->palette();
    snapPalette.setColor(QPalette::Window, snapPalette.color(QPalette::ButtonText));
    Snap->setPalette(snapPalette);

    Title = new QLabel(QStringLiteral("Zanku"), Snap);
    Title->setObjectName(QStringLiteral("Title"));
    Title->setGeometry(TwipsRect(240, 1200, 5295, 1755));
    Title->setFont(TitleFont(72));
    Title->setAlignment(Qt::AlignCenter);
    QPalette titlePalette = snapPalette;
    titlePalette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    Title->setPalette(titlePalette);

    NotPic = new QLabel(QStringLiteral("Picture Not Available"), Snap);
    NotPic->setObjectName(QStringLiteral("NotPic"));
    NotPic->setGeometry(TwipsRect(360, 2040, 5115, 480));
    NotPic->setFont(ArialFont(20.25, true));
    NotPic->setAlignment(Qt::AlignCenter);
    // A label's own look on the dark box, so the notice can be read.
    NotPic->setAutoFillBackground(true);
    QPalette notPicPalette = NotPic->palette();
    notPicPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    notPicPalette.setColor(QPalette::WindowText,
                           QApplication::palette().color(QPalette::ButtonText));
    NotPic->setPalette(notPicPalette);
    NotPic->hide();

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
    connect(model_, &GameListModel::countTextChanged, statusPanel2_, &QLabel::setText);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainFrm::buildMenus()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("File"));
    fileMenu->setObjectName(QStringLiteral("FileM"));
    QAction *exitAction = fileMenu->addAction(QStringLiteral("Exit"), this, &MainFrm::Exit_Click);
    exitAction->setObjectName(QStringLiteral("ExitM"));

    QMenu *optionsMenu = menuBar()->addMenu(QStringLiteral("Options"));
    optionsMenu->setObjectName(QStringLiteral("OptionsM"));
    optionsMenu->addAction(QStringLiteral("Emulator Config"), this, &MainFrm::ENewM_Click)
        ->setObjectName(QStringLiteral("ENewM"));
    optionsMenu->addAction(QStringLiteral("Edit Roms List"), this, &MainFrm::ERomM_Click)
        ->setObjectName(QStringLiteral("ERomM"));
    optionsMenu->addAction(QStringLiteral("Import Games..."), this, &MainFrm::ImportM_Click)
        ->setObjectName(QStringLiteral("ImportM"));

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    helpMenu->setObjectName(QStringLiteral("HelpM"));
    helpMenu->addAction(QStringLiteral("About"), this, &MainFrm::AboutM_Click)
        ->setObjectName(QStringLiteral("AboutM"));
}

void MainFrm::Form_Load()
{
    AppState &app = App();
    app.ProgramDir = QDir::currentPath();
    app.ProgramDrive = app.ProgramDir.left(2);
    SavedSnapWidth = SnapDesign.width();
    SavedSnapHeight = SnapDesign.height();
    snapPosition_ = SnapDesign.topLeft();
    setListWidth(false);
    // What a crashed session extracted would otherwise be listed as the game itself.
    RecoverExtractions(app.ProgramDir);
    ReadConfig();
    LoadCatalogue();
}

QString MainFrm::statusText() const
{
    return statusPanel1_->text();
}

QString MainFrm::gameCountText() const
{
    return statusPanel2_->text();
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
    CleanupExtraction();
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

void MainFrm::AboutM_Click()
{
    CleanupExtraction();
    if (about_ == nullptr)
        about_ = new AboutFrm(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainFrm::ENewM_Click()
{
    CleanupExtraction();
    App().EditMode = QStringLiteral("EMU");
    ShowOptionsFrm(this);
}

void MainFrm::ERomM_Click()
{
    CleanupExtraction();
    App().EditMode = QStringLiteral("ROM");
    ShowOptionsFrm(this);
}

void MainFrm::ImportM_Click()
{
    CleanupExtraction();
    ShowImportFrm(this);
}

void MainFrm::Expand_Click()
{
    CleanupExtraction();
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
            Lista->currentIndex().isValid()) {
            launchCurrentRow();
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
    if (App().EmulatorCount == 0 || !index.isValid())
        return;
    Launch->setEnabled(true);
    // A click that moved to this row has just shown it, on the press.
    if (std::exchange(previewedOnPress_, false))
        return;
    ShowSelectedGame();
}

void MainFrm::Lista_HeaderClick(int column)
{
    if (App().EmulatorCount == 0)
        return;
    model_->sortByTitleClick(column);
    const QModelIndex current = Lista->currentIndex();
    if (current.isValid()) {
        Lista->selectionModel()->setCurrentIndex(model_->index(current.row(), column),
                                                 QItemSelectionModel::NoUpdate);
    }
}

void MainFrm::Lista_DblClick(const QModelIndex &index)
{
    if (index.isValid() && App().EmulatorCount != 0)
        launchCurrentRow();
}

void MainFrm::Lista_RowColChange()
{
    if (App().EmulatorCount == 0 || !mouseIsOverDataRow())
        return;
    Launch->setEnabled(true);
    ShowSelectedGame();
    previewedOnPress_ = QGuiApplication::mouseButtons() != Qt::NoButton;
}

void MainFrm::launchCurrentRow()
{
    const int row = Lista->currentIndex().row();
    const int slot = model_->slotAt(row);
    const QString name = slot != 0 ? model_->cell(row, 0) : QString();
    const QString emulator = slot != 0 ? model_->cell(row, 2) : QString();
    // Disabling the window takes the keyboard focus away; it goes back where it was.
    const QPointer<QWidget> focused = focusWidget();
    LaunchGame(slot, name,
               {[this](const QString &text) { setStatusText(text); },
                [this](bool enabled) { setEnabled(enabled); }},
               emulator);
    if (focused != nullptr && focused->isEnabled())
        focused->setFocus();
}

void MainFrm::ShowSelectedGame()
{
    CleanupExtraction();
    NotPic->hide();
    Title->hide();

    QString picturePath;
    const AppState &app = App();
    const int row = Lista->currentIndex().row();
    const int slot = model_->slotAt(row);
    if (slot >= 1 && slot <= app.GameCount) {
        const GameRecord &game = app.Games[size_t(slot)];
        if (const int emulatorSlot = EmulatorOfRow(game.EmulatorIndex, model_->cell(row, 2))) {
            const EmulatorRecord &emulator = app.Emulators[size_t(emulatorSlot)];
            const QString emulatorDir = EmulatorDirectory(emulator.Path);
            if (EnterDirectory(emulatorDir))
                picturePath = FindSnapshot(emulator.SnapshotPath, game.File, emulatorDir);
        }
    }
    showSnapshot(picturePath);
}

void MainFrm::showSnapshot(const QString &picturePath)
{
    QImageReader reader(picturePath);
    const QSize natural = picturePath.isEmpty() ? QSize() : reader.size();
    const QSizeF pictureTwips = natural.isValid() ? QSizeF(natural.width() * TwipsPerPixel,
                                                           natural.height() * TwipsPerPixel)
                                                  : QSizeF(0, 0);
    const QRectF box = FitSnapshot(pictureTwips, QSizeF(SavedSnapWidth, SavedSnapHeight), FrameSize,
                                   snapPosition_);
    const QRect boxPixels(Twips(qRound(box.x())), Twips(qRound(box.y())),
                          Twips(qRound(box.width())), Twips(qRound(box.height())));

    QImage picture;
    if (natural.isValid()) {
        // Only the part the box shows is decoded.
        reader.setClipRect(
            QRect(QPoint(0, 0), boxPixels.size()).intersected(QRect(QPoint(), natural)));
        picture = reader.read();
    }
    if (picture.isNull()) {
        // Missing or unreadable: the empty picture and its notice.
        Snap->setPixmap(QPixmap());
        NotPic->show();
        const QRectF empty = FitSnapshot(QSizeF(0, 0), QSizeF(SavedSnapWidth, SavedSnapHeight),
                                         FrameSize, snapPosition_);
        snapPosition_ = empty.topLeft();
        Snap->setGeometry(Twips(qRound(empty.x())), Twips(qRound(empty.y())),
                          Twips(qRound(empty.width())), Twips(qRound(empty.height())));
        return;
    }
    Snap->setPixmap(QPixmap::fromImage(picture));
    snapPosition_ = box.topLeft();
    Snap->setGeometry(boxPixels);
}
