#include "ui/couch/CouchMenu.h"

#include "ui/browser/GameListView.h"

CouchMenu::CouchMenu(zanku::Library &library, GameListView &list, QWidget *parent)
    : QMenu(parent)
    , library_(library)
    , list_(list)
{
    setObjectName(QStringLiteral("CouchMenu"));
}

void CouchMenu::fill()
{
    list_.fillGameMenu(*this);
    addSeparator();
    addAction(list_.favouritesOnlyAction());
    addAction(list_.coversShown() ? tr("Show the List") : tr("Show the Covers"), this,
              &CouchMenu::switchViewRequested)
        ->setObjectName(QStringLiteral("CouchSwitchViewM"));
    addAction(tr("Find a Game..."), this, &CouchMenu::findRequested)
        ->setObjectName(QStringLiteral("CouchFindM"));
    addSeparator();
    addAction(tr("Leave Full Screen"), this, &CouchMenu::leaveRequested)
        ->setObjectName(QStringLiteral("CouchLeaveM"));
    addAction(tr("Quit Zanku..."), this, &CouchMenu::quitRequested)
        ->setObjectName(QStringLiteral("CouchQuitM"));
    // The submenus are windows of their own: they take the large text themselves.
    for (QMenu *submenu : findChildren<QMenu *>())
        submenu->setFont(font());
}

void CouchMenu::popupOver(QWidget *over)
{
    fill();
    const QSize size = sizeHint();
    const QPoint centre = over->mapToGlobal(over->rect().center());
    popup(centre - QPoint(size.width() / 2, size.height() / 2));
    // Opened from a controller: its first command is highlighted, ready for A.
    setActiveAction(actions().value(0));
}
