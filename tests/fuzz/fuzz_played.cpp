// A "Zanku.played" as a player might have it: any bytes, read from a file.
#include "core/gamedata/PlayHistory.h"

#include <QFile>
#include <QTemporaryDir>

using zanku::PlayHistory;

namespace {
bool same(const PlayHistory::Game &a, const PlayHistory::Game &b)
{
    return a.emulator == b.emulator && a.name == b.name && a.file == b.file &&
           a.launches == b.launches && a.seconds == b.seconds && a.lastPlayed == b.lastPlayed &&
           a.favourite == b.favourite;
}

// Every game of `a` but those of `except` reads the same in `b`.
bool keeps(const std::vector<PlayHistory::Game> &a, const PlayHistory &b,
           const std::optional<PlayHistory::Game> &except = std::nullopt)
{
    for (const PlayHistory::Game &game : a) {
        const std::optional<PlayHistory::Game> other = b.find(game.emulator, game.name, game.file);
        const bool excepted = except && except->emulator == game.emulator &&
                              except->name == game.name && except->file == game.file;
        if (!excepted && (!other || !same(game, *other)))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    static const QTemporaryDir dir;
    const QByteArray content((const char *)data, qsizetype(size));
    QFile file(dir.filePath(QLatin1String(PlayHistory::FileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        __builtin_trap();
    file.close();
    // Saved and read again, every game reads the same and every unread line is kept.
    PlayHistory read;
    read.load(dir.path());
    PlayHistory saved = read;
    if (!saved.save())
        __builtin_trap();
    PlayHistory again;
    again.load(dir.path());
    if (!keeps(read.games(), again) || !keeps(again.games(), read) ||
        again.unreadLines() != read.unreadLines())
        __builtin_trap();

    // Changed here (its first game played, and renamed or not, a star on another) and saved: the
    // file reads as the history showed, before the save and after it.
    PlayHistory changed = again;
    const std::vector<PlayHistory::Game> games = again.games();
    if (!games.empty()) {
        const PlayHistory::Game &first = games.front();
        QString name = first.name;
        if (size % 2 != 0) { // or only its line grows, and those after it move
            name += QStringLiteral("\\ renamed\t");
            changed.rename(first.emulator, first.file, first.name, name);
        }
        changed.played(first.emulator, name, first.file, 1000000);
    }
    changed.setFavourite(QStringLiteral("E"), QStringLiteral("starred"), QStringLiteral("f"), true);
    const std::vector<PlayHistory::Game> shown = changed.games();
    if (!changed.save())
        __builtin_trap();
    PlayHistory merged;
    merged.load(dir.path());
    if (!keeps(shown, merged) || !keeps(merged.games(), changed) ||
        !keeps(changed.games(), merged) || merged.count() != qsizetype(shown.size()) ||
        merged.unreadLines() != read.unreadLines())
        __builtin_trap();

    // One line damaged (no longer UTF-8): every other game reads as before.
    QList<QByteArray> lines = content.split('\n');
    const qsizetype damaged = qsizetype(size % size_t(lines.size()));
    const PlayHistory alone = PlayHistory::parse(lines[damaged]);
    lines[damaged].prepend('\xff');
    const PlayHistory broken = PlayHistory::parse(lines.join('\n'));
    const std::vector<PlayHistory::Game> aloneGames = alone.games();
    const std::optional<PlayHistory::Game> lost =
        aloneGames.empty() ? std::nullopt : std::optional(aloneGames.front());
    if (!keeps(read.games(), broken, lost) || !keeps(broken.games(), read, lost))
        __builtin_trap();
    return 0;
}
