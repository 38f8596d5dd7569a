#include "browser/Launch.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "browser/CommandLine.h"
#include "browser/ExtractionJournal.h"
#include "catalogue/Config.h"
#include "catalogue/RomList.h"
#include "unzip/VBUnzBas.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {
const QString WaitingText = QStringLiteral("Waiting for selection...");

// Extracts a zipped game's archive as the launch needs it and remembers the directory
// for the next clean-up when this extraction creates it.
void extractGame(const GameRecord &game, const EmulatorRecord &emulator, const QString &emulatorDir)
{
    const QChar separator = QDir::separator();
    IncludeNames[0].clear();
    ExcludeNames[0].clear();
    CrLf = QStringLiteral("\r\n");
    UnzipText.clear();
    UnzipListCount = 0;

    const QString archive = ArchivePathFor(emulator.ZippedRomPath, game.File, separator);
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

int FindGame(const QString &name)
{
    const AppState &app = App();
    for (int slot = 0; slot <= app.GameCount && size_t(slot) < app.Games.size(); ++slot) {
        if (app.Games[size_t(slot)].Name == name)
            return slot;
    }
    return 0;
}

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

void LaunchGame(int slot, const QString &rowName, const LaunchView &view)
{
    CleanupExtraction();
    ReadConfig();

    const auto finish = [&view] {
        view.setInputEnabled(true);
        view.setStatusText(WaitingText);
    };
    const AppState &app = App();
    if (slot < 1 || slot > app.GameCount || app.Games[size_t(slot)].Name != rowName) {
        finish();
        return;
    }
    const GameRecord game = app.Games[size_t(slot)];
    if (game.EmulatorIndex < 1 || game.EmulatorIndex > app.EmulatorCount) {
        finish();
        return;
    }
    const EmulatorRecord emulator = app.Emulators[size_t(game.EmulatorIndex)];

    view.setInputEnabled(false);
    view.setStatusText(QStringLiteral("Decompressing Games... ") + game.Name +
                       QStringLiteral(".... Please Wait"));

    const QString emulatorDir = EmulatorDirectory(emulator.Path);
    if (!QFileInfo(emulatorDir).isDir() || !EnterDirectory(emulatorDir)) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("Emulator ") + Quoted(emulator.Name) +
                        QStringLiteral(" Not configured properly!! Path Not Found!"));
        finish();
        return;
    }
    if (game.Zipped)
        extractGame(game, emulator, emulatorDir);

    view.setStatusText(QStringLiteral("Starting Game ") + game.Name +
                       QStringLiteral(".... Have Fun"));
    const QString options = LaunchOptions(emulator.Options, game.Options);
    const QString argument = GameArgument(game.File, QDir::separator());
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
    const QString resolved = ResolveProgram(program, workingDirectory);
    if (resolved.isEmpty()) {
        *error = program.isEmpty() ? QStringLiteral("no program is configured")
                                   : QStringLiteral("the program was not found");
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
    const QString stem = snapshotPath + QDir::separator() + StripExtension(gameFile);
    const QDir base(emulatorDir);
    for (const char *extension : {".jpg", ".gif", ".bmp"}) {
        const QFileInfo picture(base, stem + QLatin1String(extension));
        if (picture.isFile() && !picture.isHidden())
            return picture.absoluteFilePath();
    }
    return {};
}
