#include "core/catalogue/Catalogue.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/common/CoreText.h"
#include "core/common/Quoted.h"
#include "core/files/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace {
// Room for the games still to come, made once: foretold from the first list's share of
// present games per character, so the table is neither moved as it grows nor twice the
// size it needs.
class GameRoom {
public:
    GameRoom(const std::vector<EmulatorRecord> &emulators, const QString &programDir)
    {
        for (size_t e = 1; e < emulators.size(); ++e)
            left_ += QFileInfo(zanku::EmulatorPlaces(emulators[e], programDir).romList()).size();
    }
    void read(GameTable &games, size_t before, qint64 characters, qint64 bytes)
    {
        left_ -= bytes;
        if (made_ || characters == 0 || games.size() == before)
            return;
        made_ = true;
        const double perByte = double(games.size() - before) / double(std::max<qint64>(bytes, 1));
        games.reserve(games.size() + size_t(double(std::max<qint64>(left_, 0)) * perByte * 1.05) +
                      16);
    }

private:
    qint64 left_ = 0;
    bool made_ = false;
};

QString missingRomListText(const EmulatorRecord &emulator)
{
    return zanku::CoreText::tr(
               "File %1 Not Found! You'll not be able to play the game of this Emulator!")
        .arg(Quoted(emulator.Name) + QLatin1String(RomListExtension));
}
} // namespace

QStringList BuildCatalogue(const std::vector<EmulatorRecord> &emulators, const QString &programDir,
                           GameTable &games)
{
    QStringList problems;
    const QChar separator = QDir::separator();
    PresenceIndex present;
    QString text;
    QString archive; // reused: a missing game costs no new string
    GameRoom room(emulators, programDir);
    // The folders each emulator's games are looked for in: a listing no emulator still to
    // come looks in is let go.
    std::vector<QStringList> folders(emulators.size());
    for (size_t e = 1; e < emulators.size(); ++e) {
        const zanku::EmulatorPlaces places(emulators[e], programDir);
        for (const QString &folder : {places.directory(), places.zippedGames()}) {
            if (!folder.isEmpty())
                folders[e] << QDir::cleanPath(QDir(folder).absolutePath());
        }
    }
    const auto keepFoldersAfter = [&](size_t e) {
        QStringList later;
        for (size_t next = e + 1; next < folders.size(); ++next)
            later << folders[next];
        present.keepOnlyWithin(later);
    };

    for (int e = 1; e < int(emulators.size()); ++e) {
        const auto nextEmulator = qScopeGuard([&] { keepFoldersAfter(size_t(e)); });
        const EmulatorRecord &emulator = emulators[size_t(e)];
        const zanku::EmulatorPlaces places(emulator, programDir);
        const QString &emulatorDir = places.directory();
        if (emulatorDir.isEmpty() || !QFileInfo::exists(emulatorDir)) {
            problems.append(NotConfiguredText(emulator.Name, emulatorDir));
            continue;
        }
        const TextReadResult list = ReadText(places.romList(), text, false);
        if (list.status == TextReadResult::Missing) {
            problems.append(missingRomListText(emulator));
            continue;
        }
        if (list.status == TextReadResult::Unreadable) {
            problems.append(ReadErrorText(places.romList(), list.error));
            continue;
        }
        // Game files are found relative to the emulator's directory.
        if (!QFileInfo(emulatorDir).isDir()) {
            problems.append(NotConfiguredText(emulator.Name, emulatorDir));
            continue;
        }
        // Only the lines of games that are present become records.
        const size_t before = games.size();
        TextLines lines(text);
        for (QStringView line; lines.next(line);) {
            const std::array<QStringView, GameFieldCount> fields = SplitRomLine(line);
            const QStringView file = fields[1];
            if (file.isEmpty())
                continue; // names nothing (a blank line too); its archive would be ".zip"
            bool zipped = false;
            size_t kind = 0; // of archive, in ArchiveExtensions' order: the first found
            if (!present.exists(emulatorDir, file)) {
                archive.truncate(0);
                if (!emulator.ZippedRomPath.isEmpty()) // else beside the games
                    archive.append(emulator.ZippedRomPath).append(separator);
                archive.append(StripExtension(file));
                // Every kind of archive in one look-up; the first in their order wins.
                const unsigned kinds = present.archives(emulatorDir, archive);
                if (kinds == 0)
                    continue;
                zipped = true;
                while ((kinds & (1u << kind)) == 0)
                    ++kind;
            }
            static_assert(zanku::GameFields[2].member == &GameRecord::DestinationDir &&
                          zanku::GameFields[3].member == &GameRecord::Options &&
                          zanku::GameFields[4].member == &GameRecord::Type);
            games.add(fields[0], file, fields[2], fields[3], fields[4], e, zipped,
                      GameArchive(kind));
        }
        room.read(games, before, text.size(), QFileInfo(places.romList()).size());
    }
    return problems;
}

QString NotConfiguredText(const QString &emulatorName)
{
    return zanku::CoreText::tr("Emulator %1 Not configured properly!! Path Not Found!")
        .arg(Quoted(emulatorName));
}

QString NotConfiguredText(const QString &emulatorName, const QString &gamesDirectory)
{
    if (gamesDirectory.isEmpty())
        return NotConfiguredText(emulatorName) +
               zanku::CoreText::tr(
                   "\nIt has no Games Directory: set one in Options > Emulator Config.");
    const QString shown = Quoted(QDir::toNativeSeparators(gamesDirectory));
    return NotConfiguredText(emulatorName) +
           (QFileInfo::exists(gamesDirectory)
                ? zanku::CoreText::tr("\nIts Games Directory \"%1\" is not a folder.").arg(shown)
                : zanku::CoreText::tr("\nIts Games Directory \"%1\" does not exist.").arg(shown));
}

QString GameCountText(int gameCount)
{
    return zanku::CoreText::tr("Games  ( %1 Roms )").arg(zanku::LocalNumber(gameCount));
}

QString GameCountText(int shown, int gameCount)
{
    return zanku::CoreText::tr("Games  ( %1 of %2 Roms )")
        .arg(zanku::LocalNumber(shown), zanku::LocalNumber(gameCount));
}
