#include "browser/MainFrm.h"

#include "about/AboutFrm.h"
#include "app/AppIcon.h"
#include "app/AppState.h"
#include "app/Twips.h"
#include "browser/GameListModel.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Config.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

namespace {
QFont arial(double points, bool bold = false, bool italic = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

constexpr int NarrowListWidth = 4095;
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
    setFont(arial(9.75));
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
    Lista->setGeometry(twipsRect(120, 120, NarrowListWidth, 4575));
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

    Launch = new QPushButton(QStringLiteral("Launch Game"), client);
    Launch->setObjectName(QStringLiteral("Launch"));
    Launch->setGeometry(twipsRect(120, 4800, 2655, 795));
    Launch->setFont(arial(18, true, true));
    Launch->setEnabled(false);

    Expand = new QPushButton(QStringLiteral(">>"), client);
    Expand->setObjectName(QStringLiteral("Expand"));
    Expand->setGeometry(twipsRect(3120, 4800, 975, 255));
    connect(Expand, &QPushButton::clicked, this, &MainFrm::Expand_Click);

    Exit = new QPushButton(QStringLiteral("Exit"), client);
    Exit->setObjectName(QStringLiteral("Exit"));
    Exit->setGeometry(twipsRect(3000, 5160, 1215, 375));
    connect(Exit, &QPushButton::clicked, this, &MainFrm::Exit_Click);

    Frame1 = new QGroupBox(QStringLiteral("SnapShot"), client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(4320, 0, 6135, 5475));

    // The picture box: dark like the button text, it takes its picture's size.
    Snap = new QLabel(Frame1);
    Snap->setObjectName(QStringLiteral("Snap"));
    Snap->setGeometry(twipsRect(120, 300, 5895, 5055));
    Snap->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Snap->setAutoFillBackground(true);
    QPalette snapPalette = Snap->palette();
    snapPalette.setColor(QPalette::Window, snapPalette.color(QPalette::ButtonText));
    Snap->setPalette(snapPalette);

    Title = new QLabel(QStringLiteral("Zanku"), Snap);
    Title->setObjectName(QStringLiteral("Title"));
    Title->setGeometry(twipsRect(240, 1200, 5295, 1755));
    QFont titleFont(QStringLiteral("Comic Sans MS"));
    titleFont.setPointSize(72);
    titleFont.setBold(true);
    Title->setFont(titleFont);
    Title->setAlignment(Qt::AlignCenter);
    QPalette titlePalette = snapPalette;
    titlePalette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    Title->setPalette(titlePalette);

    NotPic = new QLabel(QStringLiteral("Picture Not Available"), Snap);
    NotPic->setObjectName(QStringLiteral("NotPic"));
    NotPic->setGeometry(twipsRect(360, 2040, 5115, 480));
    NotPic->setFont(arial(20.25, true));
    NotPic->setAlignment(Qt::AlignCenter);
    NotPic->setAutoFillBackground(true);
    NotPic->setPalette(palette());
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
    setListWidth(false);
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
}

void MainFrm::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void MainFrm::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    emit unloaded();
}

void MainFrm::Exit_Click()
{
    close();
}

void MainFrm::AboutM_Click()
{
    if (about_ == nullptr)
        about_ = new AboutFrm(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainFrm::ENewM_Click()
{
    App().EditMode = QStringLiteral("EMU");
}

void MainFrm::ERomM_Click()
{
    App().EditMode = QStringLiteral("ROM");
}

void MainFrm::Expand_Click()
{
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
