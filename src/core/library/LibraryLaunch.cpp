// The library's launch: a zipped game's archive extracted first, the emulator started in
// its own directory, and what the last launch extracted removed at the next action.

#include "app/Version.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/RomList.h"
#include "core/common/Quoted.h"
#include "core/launch/CommandLine.h"
#include "core/launch/Launch.h"
#include "core/library/EmulatorPlaces.h"
#include "core/library/Library.h"
#include "core/unzip/VBUnzBas.h"

#include <QDir>
#include <QFileInfo>

namespace zanku {
namespace {
const QString WaitingText = QStringLiteral("Waiting for selection...");
} // namespace

void Library::CleanupExtraction()
{
    if (!LastExtractDir.isEmpty())
        journal_.remove(LastExtractDir);
    LastExtractDir.clear();
}

void Library::extractGame(const GameRecord &game, const QString &emulatorDir)
{
    const EmulatorPlaces places(emulator(game.EmulatorIndex), programDir_);
    QString target = game.DestinationDir;
    if (target.isEmpty())
        target = u'.' + QDir::separator() + game.File;
    const QString targetPath = QDir::cleanPath(QDir(emulatorDir).filePath(target));
    // Only a folder this extraction makes for the game is removed again; a destination
    // directory of the player's keeps what it received.
    const bool makesFolder = game.DestinationDir.isEmpty() && !QFileInfo::exists(targetPath);
    if (makesFolder) {
        if (const QString warning = journal_.begin(targetPath); !warning.isEmpty())
            emit notice(QStringLiteral("Error"), warning);
    }
    // A failed extraction does not stop the launch; its status number is shown.
    if (const int status = UnzipArchive(places.archiveOf(game.File), targetPath); status != UnzipOk)
        emit notice(QString::fromUtf8(Version::ProductTitle), QString::number(status));
    if (makesFolder && QFileInfo(targetPath).isDir())
        LastExtractDir = targetPath;
}

void Library::LaunchGame(int slot, const QString &rowName, const QString &rowEmulator)
{
    CleanupExtraction();
    ReadConfig();

    const auto finish = [this] {
        emit launchBusy(false);
        emit launchStatus(WaitingText);
    };
    if (slot < 1 || slot > GameCount() || rowName.isEmpty() || game(slot).Name != rowName) {
        finish();
        return;
    }
    GameRecord launched = game(slot);
    const int emulatorSlot = emulatorOfRow(slot, rowEmulator);
    launched.EmulatorIndex = emulatorSlot;

    emit launchBusy(true);
    emit launchStatus(QStringLiteral("Decompressing Games... ") + launched.Name +
                      QStringLiteral(".... Please Wait"));

    const EmulatorRecord shown = emulatorSlot != 0 ? emulator(emulatorSlot) : EmulatorRecord{};
    const EmulatorPlaces places(shown, programDir_);
    const QString &emulatorDir = places.directory();
    if (emulatorSlot == 0 || !QFileInfo(emulatorDir).isDir()) {
        emit notice(QStringLiteral("Error"), emulatorSlot != 0
                                                 ? NotConfiguredText(shown.Name, emulatorDir)
                                                 : NotConfiguredText(rowEmulator));
        finish();
        return;
    }
    // The catalogue may have been read while the last extraction still lay there (an
    // editor's reload): the clean-up has just removed that copy, so the archive serves.
    const bool zipped = launched.Zipped || (!launched.File.isEmpty() &&
                                            !QFileInfo::exists(places.resolve(launched.File)) &&
                                            QFileInfo(places.archiveOf(launched.File)).isFile());
    if (zipped)
        extractGame(launched, emulatorDir);

    emit launchStatus(QStringLiteral("Starting Game ") + launched.Name +
                      QStringLiteral(".... Have Fun"));
    const QString options = LaunchOptions(shown.Options, launched.Options);
    const QString argument = GameArgument(launched, zipped, emulatorDir, QDir::separator());
    const LaunchCommand command = BuildLaunchCommand(shown.Program, options, argument);
    QString error;
    if (!StartEmulator(command.program, command.arguments,
                       BuildCommandLine(shown.Program, options, argument), emulatorDir, &error)) {
        emit notice(QStringLiteral("Error"),
                    QStringLiteral("Cannot start %1: %2").arg(Quoted(shown.Program), error));
    }
    finish();
}

} // namespace zanku
