#include "ui/browser/ViewModes.h"

#include "ui/browser/ColumnsMenu.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/ShowMenu.h"
#include "ui/couch/CouchView.h"
#include "ui/input/GamepadInput.h"

#include <QActionGroup>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>

ViewModes::ViewModes(QMainWindow &window, GameListView &list, zanku::Library &library)
    : QObject(&window)
    , window_(window)
    , list_(list)
    , library_(library)
{
    window_.installEventFilter(this);
}

void ViewModes::buildMenu()
{
    QMenu *viewMenu = window_.menuBar()->addMenu(tr("&View"));
    viewMenu->setObjectName(QStringLiteral("ViewM"));
    auto *views = new QActionGroup(this);
    listView_ = viewMenu->addAction(tr("&List"), QKeySequence(Qt::CTRL | Qt::Key_1), this,
                                    [this] { showCovers(false); });
    listView_->setObjectName(QStringLiteral("ListViewM"));
    coverView_ = viewMenu->addAction(tr("&Covers"), QKeySequence(Qt::CTRL | Qt::Key_2), this,
                                     [this] { showCovers(true); });
    coverView_->setObjectName(QStringLiteral("CoverViewM"));
    for (QAction *view : {listView_, coverView_}) {
        view->setCheckable(true);
        views->addAction(view);
    }
    listView_->setChecked(true);
    viewMenu->addSeparator();
    viewMenu->addMenu(new ShowMenu(library_, list_, viewMenu));
    viewMenu->addMenu(new ColumnsMenu(list_, viewMenu));
    viewMenu->addSeparator();
    fullScreen_ =
        viewMenu->addAction(tr("&Full Screen"), QKeySequence(Qt::Key_F11), this,
                            [this](bool on) { on ? enterFullScreen() : leaveFullScreen(); });
    fullScreen_->setObjectName(QStringLiteral("FullScreenM"));
    fullScreen_->setCheckable(true);
    // Shortcuts of a menu work while the menu bar is hidden in full screen too.
    window_.addActions({listView_, coverView_, fullScreen_});
}

void ViewModes::showCovers(bool covers)
{
    (covers ? coverView_ : listView_)->setChecked(true);
    list_.setCoversShown(covers);
    if (couch() == nullptr) // the couch view lays the list out itself
        emit layoutChanged();
}

QByteArray ViewModes::normalGeometry() const
{
    return window_.isFullScreen() ? normalGeometry_ : window_.saveGeometry();
}

void ViewModes::enterFullScreen()
{
    if (window_.isFullScreen())
        return;
    normalGeometry_ = window_.saveGeometry();
    fullScreen_->setChecked(true);
    window_.showFullScreen();
}

void ViewModes::leaveFullScreen()
{
    if (!window_.isFullScreen())
        return;
    fullScreen_->setChecked(false);
    window_.restoreGeometry(normalGeometry_);
    if (!window_.isMaximized())
        window_.showNormal();
}

bool ViewModes::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::WindowStateChange) {
        // Full screen, however it came, is the couch view, with larger covers.
        const bool full = window_.isFullScreen();
        if (full && couch_ == nullptr) {
            couch_ = new CouchView(window_, list_, library_);
            connect(couch_, &CouchView::leaveRequested, this, &ViewModes::leaveFullScreen);
            connect(couch_, &CouchView::switchViewRequested, this,
                    [this] { showCovers(!list_.coversShown()); });
        }
        if (couch_ != nullptr)
            full ? couch_->enter() : couch_->leave();
        list_.setLargeCovers(full);
        fullScreen_->setChecked(full);
        if (!full)
            emit layoutChanged();
    }
    return QObject::eventFilter(watched, event);
}

CouchView *ViewModes::couch() const
{
    return couch_ != nullptr && couch_->active() ? couch_ : nullptr;
}

void ViewModes::useGamepad(GamepadInput &gamepad)
{
    connect(&gamepad, &GamepadInput::backPressed, this, [this] {
        if (couch() != nullptr && window_.isActiveWindow())
            showCovers(!list_.coversShown());
    });
}
