#include "core/catalogue/Catalogue.h"

#include "core/common/AppState.h"
#include "core/common/Messages.h"
#include "core/catalogue/GameListModel.h"
#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
void reportMissingPath(const EmulatorRecord &emulator)
{
    ShowMessage(QStringLiteral("Error"),
                QStringLiteral("Emulator ") + Quoted(emulator.Name) +
                    QStringLiteral(" Not configured properly!! Path Not Found!"));
}

void reportMissingRomList(const EmulatorRecord &emulator)
{
    ShowMessage(QStringLiteral("Error"),
                QStringLiteral("File ") + Quoted(emulator.Name) + QLatin1String(RomListExtension) +
                    QStringLiteral(" Not Found! You'll not be able to play the game of this "
                                   "Emulator!"));
}
} // namespace

void LoadCatalogue()
{
    AppState &app = App();
    app.GameCount = 0;
    app.Games.resize(1);

    const QDir programDir(app.ProgramDir);
    const QChar separator = QDir::separator();
    PresenceIndex present;

    for (int e = 1; e <= app.EmulatorCount; ++e) {
        const EmulatorRecord &emulator = app.Emulators[size_t(e)];
        // A relative emulator directory is taken from the program directory.
        const QFileInfo pathInfo(programDir, emulator.Path);
        if (emulator.Path.isEmpty() || !pathInfo.exists()) {
            reportMissingPath(emulator);
            continue;
        }

        EnterDirectory(app.ProgramDir);
        const QString romListPath = programDir.filePath(RomListFileName(emulator.Name));
        if (!QFileInfo::exists(romListPath)) {
            reportMissingRomList(emulator);
            continue;
        }
        const TextReadResult read = ReadTextLines(romListPath);
        if (!read.lines) {
            ShowReadError(romListPath, read.error);
            continue;
        }

        // From here on, game files are found relative to the emulator's directory.
        const QString emulatorDir = pathInfo.absoluteFilePath();
        if (!pathInfo.isDir() || !EnterDirectory(emulatorDir)) {
            reportMissingPath(emulator);
            continue;
        }

        for (const QString &line : *read.lines) {
            if (line.isEmpty())
                continue;
            GameRecord game = ParseRomLine(line);
            if (game.File.isEmpty())
                continue;
            if (present.exists(emulatorDir, game.File)) {
                game.Zipped = false;
            } else if (present.exists(emulatorDir, ArchivePathFor(emulator.ZippedRomPath, game.File,
                                                                  separator))) {
                game.Zipped = true;
            } else {
                continue;
            }
            game.EmulatorIndex = e;
            app.Games.push_back(std::move(game));
            ++app.GameCount;
        }
    }
    FillGameList();
}

void FillGameList()
{
    const AppState &app = App();
    if (app.Lista == nullptr)
        return;

    std::vector<GameListModel::Row> rows;
    rows.reserve(size_t(app.GameCount));
    for (int slot = 1; slot <= app.GameCount; ++slot) {
        const GameRecord &game = app.Games[size_t(slot)];
        const int emulator = game.EmulatorIndex;
        const QString emulatorName = emulator >= 1 && emulator <= app.EmulatorCount
                                         ? app.Emulators[size_t(emulator)].Name
                                         : QString();
        rows.push_back({{game.Name, game.Type, emulatorName}, slot});
    }
    app.Lista->setRows(std::move(rows));
    app.Lista->setCountText(GameCountText(app.GameCount));
}

QString GameCountText(int gameCount)
{
    return QStringLiteral("Games  ( %1 Roms )").arg(gameCount);
}
