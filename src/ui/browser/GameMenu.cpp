#include "ui/browser/GameMenu.h"

#include "core/gamedata/GameData.h"
#include "core/library/Library.h"
#include "ui/browser/SteamAdd.h"
#include "ui/common/Messages.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QSet>

namespace {
// The texts of the game's commands, wherever the menu shows.
class GameMenu {
    Q_DECLARE_TR_FUNCTIONS(GameMenu)
};

void addLaunchWith(QMenu &menu, zanku::Library &library, const zanku::GameKey &game)
{
    QMenu *once = menu.addMenu(GameMenu::tr("Launch &With"));
    once->setObjectName(QStringLiteral("LaunchWithM"));
    QMenu *always = menu.addMenu(GameMenu::tr("&Always Launch With"));
    always->setObjectName(QStringLiteral("AlwaysLaunchWithM"));
    auto *choices = new QActionGroup(always);
    const QString chosen = library.gameData().launchWith(game);
    QSet<QString> seen; // an emulator is named by its name: the first of two alike
    for (int e = 1; e <= library.EmulatorCount(); ++e) {
        const QString name = library.emulator(e).Name;
        const bool own = name == game.emulator;
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        if (!own)
            once->addAction(MenuText(name), &library,
                            [&library, game, name] { library.LaunchGame(game, name); });
        QAction *choice = always->addAction(
            own ? GameMenu::tr("%1 (its own)").arg(MenuText(name)) : MenuText(name), &library,
            [&library, game, name] { library.gameData().setLaunchWith(game, name); });
        choice->setCheckable(true);
        choice->setChecked(chosen.isEmpty() ? own : chosen == name);
        choices->addAction(choice);
    }
    once->setEnabled(!once->isEmpty());
}

void addCollections(QMenu &menu, zanku::Library &library, const zanku::GameKey &game,
                    QWidget *parent)
{
    zanku::GameData &data = library.gameData();
    QMenu *add = menu.addMenu(GameMenu::tr("Add to &Collection"));
    add->setObjectName(QStringLiteral("AddToCollectionM"));
    const QStringList in = data.collectionsOf(game);
    for (const QString &collection : data.collections()) {
        if (!in.contains(collection))
            add->addAction(MenuText(collection), &library,
                           [&data, game, collection] { data.addToCollection(game, collection); });
    }
    if (!add->isEmpty())
        add->addSeparator();
    add->addAction(GameMenu::tr("&New Collection..."), parent, [&data, game] {
        const std::optional<QString> name =
            AskText(GameMenu::tr("New Collection"), GameMenu::tr("Name of the new collection:"));
        if (name && !name->trimmed().isEmpty())
            data.addToCollection(game, name->trimmed());
    });
    QMenu *remove = menu.addMenu(GameMenu::tr("&Remove from Collection"));
    remove->setObjectName(QStringLiteral("RemoveFromCollectionM"));
    for (const QString &collection : in)
        remove->addAction(MenuText(collection), &library, [&data, game, collection] {
            data.removeFromCollection(game, collection);
        });
    remove->setEnabled(!in.isEmpty());
}

} // namespace

QString MenuText(const QString &name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString WithoutMnemonic(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i; // "&&" is one "&"; "&x" is "x"
        plain += text[i];
    }
    return plain;
}

void FillGameMenu(QMenu &menu, zanku::Library &library, const zanku::GameKey &game, QWidget *parent,
                  const std::function<void()> &launch)
{
    // Made afresh each time: the submenus of the last time go with their actions.
    menu.clear();
    qDeleteAll(menu.findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    const bool any = !game.isNull() && library.EmulatorCount() != 0;
    QAction *start = menu.addAction(GameMenu::tr("&Launch"), parent, launch);
    start->setShortcut(QKeySequence(Qt::Key_Enter));
    start->setShortcutContext(Qt::WidgetShortcut); // Enter itself is the list's
    start->setEnabled(any);
    if (!any)
        return;
    addLaunchWith(menu, library, game);
    menu.addSeparator();
    QAction *favourite =
        menu.addAction(GameMenu::tr("&Favourite"), &library,
                       [&library, game](bool on) { library.gameData().setFavourite(game, on); });
    favourite->setObjectName(QStringLiteral("FavouriteM"));
    favourite->setCheckable(true);
    favourite->setChecked(library.gameData().isFavourite(game));
    favourite->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    favourite->setShortcutContext(Qt::WidgetShortcut); // Ctrl+D itself is the window's
    addCollections(menu, library, game, parent);
    menu.addAction(GameMenu::tr("Add to &Steam"), parent,
                   [&library, game] { AddGamesToSteam(library, {game}); });
}
