#include "ui/browser/SteamAdd.h"

#include "core/browse/GameFindModel.h"
#include "core/library/Library.h"
#include "core/steam/SteamGames.h"
#include "ui/common/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("SteamAdd", text);
}
} // namespace

void AddGamesToSteam(zanku::Library &library, const QList<zanku::GameKey> &games)
{
    const zanku::SteamResult result = zanku::AddSteamShortcuts(
        QDir::homePath(), zanku::SteamShortcutsFor(library, games, zanku::ZankuCommand()));
    QStringList lines;
    if (!result.users.isEmpty())
        lines << tr("Games added to Steam: %1.").arg(result.added)
              << tr("Games updated in Steam: %1.").arg(result.updated)
              << tr("Steam users: %1.").arg(result.users.join(QStringLiteral(", ")));
    if (!result.problems.isEmpty())
        lines << (result.users.isEmpty() ? QString() : tr("Problems:")) << result.problems;
    if (!result.users.isEmpty() && result.problems.isEmpty())
        lines << tr("Steam shows them once it starts again.");
    ShowMessage(tr("Add to Steam"), lines.join(u'\n').trimmed());
}

void AddShownGamesToSteam(zanku::Library &library, const zanku::GameFindModel &shown)
{
    QList<zanku::GameKey> games;
    for (int row = 0; row < shown.rowCount(); ++row)
        games.append(shown.keyAt(row));
    if (games.isEmpty()) {
        ShowMessage(tr("Add to Steam"), tr("The list shows no games to add."));
        return;
    }
    if (ShowMessage(tr("Add to Steam"),
                    tr("Add every game the list shows (%1) to Steam?").arg(games.size()),
                    MessageButtons::YesNo) == MessageAnswer::Yes)
        AddGamesToSteam(library, games);
}

void AddShownGamesItem(QMenu &menu, zanku::Library &library, const zanku::GameFindModel &shown)
{
    menu.addAction(tr("Add Shown Games to Steam..."), &library,
                   [&library, &shown] { AddShownGamesToSteam(library, shown); })
        ->setObjectName(QStringLiteral("AddToSteamM"));
}
