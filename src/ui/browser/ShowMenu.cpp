#include "ui/browser/ShowMenu.h"

#include "core/browse/GameFindModel.h"
#include "core/gamedata/GameData.h"
#include "core/library/Library.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/GameMenu.h"
#include "ui/common/Messages.h"

#include <QActionGroup>

using Show = zanku::GameFindModel::Show;

ShowMenu::ShowMenu(zanku::Library &library, GameListView &list, QWidget *parent)
    : QMenu(tr("&Show"), parent)
    , library_(library)
    , list_(list)
{
    setObjectName(QStringLiteral("ShowM"));
    connect(this, &QMenu::aboutToShow, this, &ShowMenu::refill);
    refill();
}

void ShowMenu::refill()
{
    clear();
    qDeleteAll(findChildren<QActionGroup *>(QString(), Qt::FindDirectChildrenOnly));
    const zanku::GameFindModel &shown = *list_.shown();
    auto *group = new QActionGroup(this);
    const auto add = [&](const QString &text, Show show, const QString &collection) {
        QAction *action = addAction(
            text, this, [this, show, collection] { list_.showGames(int(show), collection); });
        action->setCheckable(true);
        action->setChecked(shown.show() == show && shown.collection() == collection);
        group->addAction(action);
        return action;
    };
    add(tr("&All Games"), Show::All, {})->setObjectName(QStringLiteral("ShowAllM"));
    add(tr("&Favourites"), Show::Favourites, {})->setObjectName(QStringLiteral("ShowFavouritesM"));
    const QStringList collections = library_.gameData().collections();
    if (!collections.isEmpty())
        addSeparator();
    for (const QString &collection : collections)
        add(MenuText(collection), Show::Collection, collection);
    addSeparator();
    const bool collection = shown.show() == Show::Collection;
    addAction(tr("Re&name Collection..."), this, &ShowMenu::renameShown)->setEnabled(collection);
    addAction(tr("&Delete Collection..."), this, &ShowMenu::deleteShown)->setEnabled(collection);
}

void ShowMenu::renameShown()
{
    const QString from = list_.shown()->collection();
    const std::optional<QString> to =
        AskText(tr("Rename Collection"), tr("New name of the collection:"), from);
    if (!to || to->trimmed().isEmpty() || to->trimmed() == from)
        return;
    if (!library_.gameData().renameCollection(from, to->trimmed())) {
        ShowMessage(tr("Error"),
                    tr("There is a collection named %1 already.").arg(Quoted(to->trimmed())));
        return;
    }
    list_.showGames(int(Show::Collection), to->trimmed());
}

void ShowMenu::deleteShown()
{
    const QString name = list_.shown()->collection();
    if (ShowMessage(
            tr("Delete Collection"),
            tr("Delete the collection %1? Its games stay in the library.").arg(Quoted(name)),
            MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    list_.showGames(int(Show::All));
    library_.gameData().deleteCollection(name);
}
