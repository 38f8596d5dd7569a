#include "ui/browser/SteamAdd.h"

#include "core/browse/GameFindModel.h"
#include "core/library/Library.h"
#include "core/steam/SteamGames.h"
#include "ui/common/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>

namespace {
// The texts of these free functions share one context.
class SteamAdd {
    Q_DECLARE_TR_FUNCTIONS(SteamAdd)
};
} // namespace

void AddGamesToSteam(zanku::Library &library, const QList<zanku::GameKey> &games)
{
    const zanku::SteamResult result = zanku::AddSteamShortcuts(
        QDir::homePath(), zanku::SteamShortcutsFor(library, games, zanku::ZankuCommand()));
    QStringList lines;
    if (!result.users.isEmpty())
        lines << SteamAdd::tr("Games added to Steam: %1.").arg(result.added)
              << SteamAdd::tr("Games updated in Steam: %1.").arg(result.updated)
              << SteamAdd::tr("Steam users: %1.").arg(result.users.join(QStringLiteral(", ")));
    if (!result.problems.isEmpty())
        lines << (result.users.isEmpty() ? QString() : SteamAdd::tr("Problems:"))
              << result.problems;
    if (!result.users.isEmpty() && result.problems.isEmpty())
        lines << SteamAdd::tr("Steam shows them once it starts again.");
    ShowMessage(SteamAdd::tr("Add to Steam"), lines.join(u'\n').trimmed());
}

void AddShownGamesToSteam(zanku::Library &library, const zanku::GameFindModel &shown)
{
    QList<zanku::GameKey> games;
    for (int row = 0; row < shown.rowCount(); ++row)
        games.append(shown.keyAt(row));
    if (games.isEmpty()) {
        ShowMessage(SteamAdd::tr("Add to Steam"), SteamAdd::tr("The list shows no games to add."));
        return;
    }
    if (ShowMessage(SteamAdd::tr("Add to Steam"),
                    SteamAdd::tr("Add every game the list shows (%1) to Steam?").arg(games.size()),
                    MessageButtons::YesNo) == MessageAnswer::Yes)
        AddGamesToSteam(library, games);
}

void AddShownGamesItem(QMenu &menu, zanku::Library &library, const zanku::GameFindModel &shown)
{
    menu.addAction(SteamAdd::tr("Add Shown Games to &Steam..."), &library,
                   [&library, &shown] { AddShownGamesToSteam(library, shown); })
        ->setObjectName(QStringLiteral("AddToSteamM"));
}
