#include "ui/couch/CouchView.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/library/Library.h"
#include "core/preview/Cover.h"
#include "ui/browser/FindBar.h"
#include "ui/browser/GameDetailsPanel.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/LaunchFailureStrip.h"
#include "ui/common/Messages.h"
#include "ui/couch/CouchMenu.h"
#include "ui/couch/CouchPicture.h"
#include "ui/couch/LetterRow.h"
#include "ui/input/GamepadInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

CouchView::CouchView(QMainWindow &window, GameListView &list, zanku::Library &library)
    : QWidget(&window)
    , window_(window)
    , list_(list)
    , library_(library)
{
    setObjectName(QStringLiteral("Couch"));
    hide();
    build();
    connect(&list_, &GameListView::currentGameChanged, this, &CouchView::showGame);
    connect(&library_, &zanku::Library::emulatorsRunning, this, &CouchView::backFromGame);
    connect(&library_, &zanku::Library::catalogueChanged, this, &CouchView::chooseFirst);
}

void CouchView::chooseFirst()
{
    // Something is always chosen here: an empty picture and panel say nothing from afar.
    QAbstractItemView *view = list_.activeView();
    if (active_ && list_.currentGame().isNull() && view->model()->rowCount() > 0)
        view->setCurrentIndex(view->model()->index(0, 0));
}

int CouchView::textPixels(int screenHeight)
{
    // A thirty-sixth: a little over the fortieth a TV needs from three metres.
    return std::max(16, screenHeight / 36);
}

void CouchView::build()
{
    // Light on dark, as a TV shows best in a dim room.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x12, 0x16, 0x1c));
    colours.setColor(QPalette::Base, QColor(0x1a, 0x20, 0x28));
    colours.setColor(QPalette::AlternateBase, QColor(0x20, 0x26, 0x30));
    colours.setColor(QPalette::Button, QColor(0x26, 0x2c, 0x36));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(role, QColor(0xee, 0xee, 0xee));
    colours.setColor(QPalette::Highlight, QColor(0x2a, 0x7f, 0xd4));
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    listPlace_ = new QWidget(this);
    auto *listLayout = new QVBoxLayout(listPlace_);
    listLayout->setContentsMargins(0, 0, 0, 0);
    picture_ = new CouchPicture(this);
    details_ = new GameDetailsPanel(library_, list_, this);
    details_->setObjectName(QStringLiteral("CouchDetails"));
    details_->setFocusPolicy(Qt::NoFocus);
    letters_ = new LetterRow(this);
    hints_ = new QLabel(tr("A: Launch      Start: Menu      Select: Covers or List      "
                           "B: Back      Menu > Find a Game"),
                        this);
    hints_->setObjectName(QStringLiteral("CouchHints"));
    hints_->setAlignment(Qt::AlignCenter);
    hints_->setWordWrap(true);
    menu_ = new CouchMenu(library_, list_, this);

    auto *side = new QVBoxLayout;
    side->addWidget(picture_, 3);
    side->addWidget(details_, 2);
    auto *columns = new QHBoxLayout;
    columns->addWidget(listPlace_, 3);
    columns->addLayout(side, 2);
    auto *page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    page->addWidget(letters_);
    page->addWidget(hints_);

    connect(menu_, &CouchMenu::findRequested, this, &CouchView::openFind);
    connect(menu_, &CouchMenu::switchViewRequested, this, &CouchView::switchViewRequested);
    connect(menu_, &CouchMenu::leaveRequested, this, &CouchView::leaveRequested);
    connect(menu_, &CouchMenu::quitRequested, this, &CouchView::askQuit, Qt::QueuedConnection);
    connect(letters_, &LetterRow::typed, this,
            [this](const QString &text) { list_.findBar()->insert(text); });
    connect(letters_, &LetterRow::erased, this, [this] { list_.findBar()->backspace(); });
    connect(letters_, &LetterRow::done, this, [this] { closeLetters(true); });
    connect(letters_, &LetterRow::cancelled, this, [this] { closeLetters(false); });
    connect(letters_, &LetterRow::moveKey, this, [this](int key) {
        QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(list_.findBar(), &move);
    });
}

void CouchView::enter()
{
    if (active_)
        return;
    active_ = true;
    QFont large = window_.font();
    large.setPixelSize(textPixels(window_.screen()->geometry().height()));
    for (QWidget *widget : {static_cast<QWidget *>(this), static_cast<QWidget *>(menu_),
                            static_cast<QWidget *>(details_)})
        widget->setFont(large);
    // Every key of the window passes here first: Start's menu and Esc are the couch view's
    // whichever widget has the focus.
    qApp->installEventFilter(this);
    window_.menuBar()->hide();
    window_.statusBar()->hide();
    // The list and the strip come over with the game chosen, the find field and the view.
    listHome_ = list_.parentWidget();
    listGeometry_ = list_.geometry();
    listPlace_->layout()->addWidget(&list_);
    failure_ = window_.findChild<LaunchFailureStrip *>();
    if (failure_ != nullptr) {
        const bool shown = !failure_->isHidden();
        failure_->setParent(this);
        failure_->setVisible(shown);
    }
    window_.centralWidget()->hide();
    setGeometry(window_.rect());
    if (failure_ != nullptr)
        failure_->placeIn(rect());
    show();
    raise();
    list_.show();
    chooseFirst();
    const zanku::GameKey chosen = list_.currentGame();
    details_->showGame(chosen, library_.slotOf(chosen));
    showGame(chosen, library_.slotOf(chosen));
    list_.activeView()->setFocus();
}

void CouchView::leave()
{
    if (!active_)
        return;
    active_ = false;
    qApp->removeEventFilter(this);
    closeLetters(true);
    menu_->hide();
    hide();
    if (listHome_ != nullptr) {
        list_.setParent(listHome_);
        list_.setGeometry(listGeometry_);
        list_.show();
        if (failure_ != nullptr) {
            const bool shown = !failure_->isHidden();
            failure_->setParent(listHome_);
            failure_->setVisible(shown);
        }
    }
    window_.centralWidget()->show();
    window_.menuBar()->show();
    window_.statusBar()->show();
    list_.activeView()->setFocus();
}

void CouchView::showGame(const zanku::GameKey &game, int slot)
{
    if (active_)
        picture_->showPicture(pictureOf(game, slot));
}

QString CouchView::pictureOf(const zanku::GameKey &game, int slot) const
{
    if (game.isNull() || slot == 0)
        return {};
    const QString snapshot = library_.snapshotOf(game);
    const int e = library_.emulatorOf(game);
    if (!snapshot.isEmpty() || e == 0)
        return snapshot;
    const GameRecord &record = library_.game(slot);
    return FindCover(zanku::EmulatorPlaces(library_.emulator(e), library_.programDir())
                         .coverPlaceOf(record.File, record.Name));
}

void CouchView::openFind()
{
    list_.openFind();
    letters_->show();
    letters_->setFocus();
}

void CouchView::closeLetters(bool keepFound)
{
    if (letters_->isHidden())
        return;
    letters_->hide();
    if (!keepFound) {
        // As Esc in the field: every game back, the one chosen still chosen.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(list_.findBar(), &escape);
    }
    list_.activeView()->setFocus();
}

void CouchView::askQuit()
{
    if (ShowMessage(tr("Quit Zanku"), tr("Quit Zanku?"), MessageButtons::YesNo) ==
        MessageAnswer::Yes)
        window_.close();
}

void CouchView::backFromGame(bool running)
{
    // The game's window had the screen: the couch view takes it back, and with it the
    // controllers' keys, which go to the active window only.
    if (running || !active_)
        return;
    window_.raise();
    window_.activateWindow();
    list_.activeView()->setFocus();
}

bool CouchView::handleKey(QKeyEvent *key)
{
    const bool fromPad = key->device() == GamepadInput::device();
    QWidget *focus = QApplication::focusWidget();
    const bool finding = focus == letters_ || focus == list_.findBar();
    switch (key->key()) {
    case Qt::Key_Menu:
        menu_->popupOver(this);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // The list's rows move up and down only: across, the names would scroll away.
        return !list_.coversShown() && focus == list_.activeView();
    case Qt::Key_Escape:
        if (failure_ != nullptr && !failure_->isHidden()) {
            failure_->hide();
            return true;
        }
        if (finding)
            return false; // the find field or the letters close themselves
        if (!fromPad)
            emit leaveRequested();
        return true;
    default:
        return false;
    }
}

bool CouchView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::Resize) {
        setGeometry(window_.rect());
        if (failure_ != nullptr)
            failure_->placeIn(rect());
        return false;
    }
    const bool key = event->type() == QEvent::KeyPress;
    // The keyboard's menu key comes as a context menu: the couch view's menu, as a right click.
    const bool menu = event->type() == QEvent::ContextMenu;
    if ((!key && !menu) || QApplication::activePopupWidget() != nullptr ||
        !watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != &window_)
        return false;
    if (menu)
        menu_->popupOver(this);
    return menu || handleKey(static_cast<QKeyEvent *>(event));
}
