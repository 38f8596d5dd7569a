#include "core/launch/Launch.h"

#include "core/common/AppState.h"
#include "core/common/Messages.h"
#include "core/launch/CommandLine.h"
#include "core/launch/ExtractionJournal.h"
#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/unzip/VBUnzBas.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {
const QString WaitingText = QStringLiteral("Waiting for selection...");

// Extracts a zipped game's archive as the launch needs it and remembers the directory
// for the next clean-up when this extraction creates it.
void extractGame(const GameRecord &game, const QString &archive, const QString &emulatorDir)
{
    const QChar separator = QDir::separator();
    IncludeNames[0].clear();
    ExcludeNames[0].clear();
    CrLf = QStringLiteral("\r\n");
    UnzipText.clear();
    UnzipListCount = 0;

    QString target = game.DestinationDir;
    if (target.isEmpty() && !game.File.isEmpty())
        target = u'.' + separator + game.File;
    const QString targetPath =
        QDir::cleanPath(target.isEmpty() ? emulatorDir : QDir(emulatorDir).filePath(target));
    // Only a folder this extraction makes for the game is removed again; a destination
    // directory of the player's keeps what it received.
    const bool makesFolder =
        game.DestinationDir.isEmpty() && !target.isEmpty() && !QFileInfo::exists(targetPath);
    if (makesFolder)
        BeginExtraction(targetPath);

    UnzipArchive(QDir(emulatorDir).filePath(archive), targetPath, 0, 1, 0, 1, 0, 0);

    if (makesFolder && QFileInfo(targetPath).isDir()) {
        App().LastExtractDir = targetPath;
        App().LastExtractCreated = true;
    }
}
} // namespace

void CleanupExtraction()
{
    AppState &app = App();
    if (!app.LastExtractDir.isEmpty() && app.LastExtractCreated)
        RemoveExtraction(app.LastExtractDir);
    app.LastExtractDir.clear();
    app.LastExtractCreated = false;
}

QString EmulatorDirectory(const QString &path)
{
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QDir(App().ProgramDir).absoluteFilePath(path));
}

int EmulatorOfRow(int gameEmulatorIndex, const QString &emulatorName)
{
    const AppState &app = App();
    const auto named = [&](int slot) {
        return slot >= 1 && slot <= app.EmulatorCount &&
               (emulatorName.isEmpty() || app.Emulators[size_t(slot)].Name == emulatorName);
    };
    if (named(gameEmulatorIndex))
        return gameEmulatorIndex;
    for (int slot = 1; !emulatorName.isEmpty() && slot <= app.EmulatorCount; ++slot) {
        if (named(slot))
            return slot;
    }
    return 0;
}

void LaunchGame(int slot, const QString &rowName, const LaunchView &view,
                const QString &rowEmulator)
{
    CleanupExtraction();
    ReadConfig();

    const auto finish = [&view] {
        view.setInputEnabled(true);
        view.setStatusText(WaitingText);
    };
    const AppState &app = App();
    if (slot < 1 || slot > app.GameCount || rowName.isEmpty() ||
        app.Games[size_t(slot)].Name != rowName) {
        finish();
        return;
    }
    const GameRecord game = app.Games[size_t(slot)];
    const int emulatorSlot = EmulatorOfRow(game.EmulatorIndex, rowEmulator);
    EmulatorRecord emulator;
    emulator.Name = rowEmulator;
    if (emulatorSlot != 0)
        emulator = app.Emulators[size_t(emulatorSlot)];

    view.setInputEnabled(false);
    view.setStatusText(QStringLiteral("Decompressing Games... ") + game.Name +
                       QStringLiteral(".... Please Wait"));

    const QString emulatorDir = EmulatorDirectory(emulator.Path);
    if (emulatorSlot == 0 || !QFileInfo(emulatorDir).isDir() || !EnterDirectory(emulatorDir)) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("Emulator ") + Quoted(emulator.Name) +
                        QStringLiteral(" Not configured properly!! Path Not Found!"));
        finish();
        return;
    }
    // The catalogue may have been read while the last extraction still lay there (an
    // editor's reload): the clean-up has just removed that copy, so the archive serves.
    const QChar separator = QDir::separator();
    const QDir base(emulatorDir);
    const QString archive = ArchivePathFor(emulator.ZippedRomPath, game.File, separator);
    const bool zipped = game.Zipped || (!game.File.isEmpty() && !base.exists(game.File) &&
                                        QFileInfo(base, archive).isFile());
    if (zipped)
        extractGame(game, archive, emulatorDir);

    view.setStatusText(QStringLiteral("Starting Game ") + game.Name +
                       QStringLiteral(".... Have Fun"));
    const QString options = LaunchOptions(emulator.Options, game.Options);
    const QString argument = GameArgument(game, zipped, emulatorDir, separator);
    const LaunchCommand command = BuildLaunchCommand(emulator.Program, options, argument);
    QString error;
    if (!StartEmulator(command.program, command.arguments,
                       BuildCommandLine(emulator.Program, options, argument), emulatorDir,
                       &error)) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("Cannot start %1: %2").arg(Quoted(emulator.Program), error));
    }
    finish();
}

bool StartEmulator(const QString &program, const QStringList &arguments, const QString &commandLine,
                   const QString &workingDirectory, QString *error)
{
#ifdef Q_OS_WIN
    // Windows takes the command line as it stands, as players have always written it.
    Q_UNUSED(program);
    Q_UNUSED(arguments);
    std::wstring line = commandLine.toStdWString();
    const std::wstring directory = QDir::toNativeSeparators(workingDirectory).toStdWString();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        *error = qt_error_string(int(GetLastError()));
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
#else
    Q_UNUSED(commandLine);
    QString problem;
    const QString resolved = ResolveProgram(program, workingDirectory, &problem);
    if (resolved.isEmpty()) {
        *error = program.isEmpty() ? QStringLiteral("no program is configured")
                                   : QStringLiteral("the program ") + problem;
        return false;
    }
    QProcess process;
    process.setProgram(resolved);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        *error = process.errorString();
        return false;
    }
    return true;
#endif
}

QString FindSnapshot(const QString &snapshotPath, const QString &gameFile,
                     const QString &emulatorDir)
{
    const QFileInfo stem(QDir(emulatorDir),
                         snapshotPath + QDir::separator() + StripExtension(gameFile));
    const QDir folder = stem.dir();
    std::optional<QStringList> names; // the folder's visible files, read on the first miss
    for (const char *extension : {".jpg", ".gif", ".bmp"}) {
        const QString name = stem.fileName() + QLatin1String(extension);
        QFileInfo picture(folder, name);
        if (!picture.isFile()) {
            if (!names)
                names = folder.entryList(QDir::Files, QDir::Name);
            const auto other = std::find_if(names->cbegin(), names->cend(), [&](const QString &n) {
                return n.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (other == names->cend())
                continue;
            picture = QFileInfo(folder, *other);
        }
        if (picture.isFile() && !picture.isHidden())
            return picture.absoluteFilePath();
    }
    return {};
}
