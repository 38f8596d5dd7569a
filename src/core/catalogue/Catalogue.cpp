#include "core/catalogue/Catalogue.h"

#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/common/Quoted.h"
#include "core/library/EmulatorPlaces.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString missingRomListText(const EmulatorRecord &emulator)
{
    return QStringLiteral("File ") + Quoted(emulator.Name) + QLatin1String(RomListExtension) +
           QStringLiteral(" Not Found! You'll not be able to play the game of this Emulator!");
}
} // namespace

QStringList BuildCatalogue(const std::vector<EmulatorRecord> &emulators, const QString &programDir,
                           std::vector<GameRecord> &games)
{
    QStringList problems;
    const QChar separator = QDir::separator();
    PresenceIndex present;
    QString text;
    QString archive; // reused: a missing game costs no new string

    for (int e = 1; e < int(emulators.size()); ++e) {
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
        QStringView line;
        for (qsizetype at = 0; NextLine(text, at, line);) {
            const std::array<QStringView, GameFieldCount> fields = SplitRomLine(line);
            const QStringView file = fields[1];
            if (file.isEmpty())
                continue; // names nothing (a blank line too); its archive would be ".zip"
            bool zipped = false;
            if (!present.exists(emulatorDir, file)) {
                archive.truncate(0);
                archive.append(emulator.ZippedRomPath)
                    .append(separator)
                    .append(StripExtension(file))
                    .append(QLatin1String(".zip"));
                if (!present.exists(emulatorDir, archive))
                    continue;
                zipped = true;
            }
            GameRecord &game = games.emplace_back();
            for (size_t field = 0; field < fields.size(); ++field)
                game.*zanku::GameFields[field].member = fields[field].toString();
            game.EmulatorIndex = e;
            game.Zipped = zipped;
        }
    }
    return problems;
}

QString NotConfiguredText(const QString &emulatorName)
{
    return QStringLiteral("Emulator ") + Quoted(emulatorName) +
           QStringLiteral(" Not configured properly!! Path Not Found!");
}

QString NotConfiguredText(const QString &emulatorName, const QString &gamesDirectory)
{
    if (gamesDirectory.isEmpty())
        return NotConfiguredText(emulatorName) +
               QStringLiteral("\nIt has no Games Directory: set one in Options > Emulator Config.");
    const QString shown = Quoted(QDir::toNativeSeparators(gamesDirectory));
    return NotConfiguredText(emulatorName) +
           (QFileInfo::exists(gamesDirectory)
                ? QStringLiteral("\nIts Games Directory \"%1\" is not a folder.").arg(shown)
                : QStringLiteral("\nIts Games Directory \"%1\" does not exist.").arg(shown));
}

QString GameCountText(int gameCount)
{
    return QStringLiteral("Games  ( %1 Roms )").arg(gameCount);
}
