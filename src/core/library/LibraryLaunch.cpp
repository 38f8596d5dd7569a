// The library's launch: a zipped game's archive extracted first, the emulator started in
// its own directory, and what the last launch extracted removed at the next action.

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/catalogue/RomList.h"
#include "core/common/Quoted.h"
#include "core/launch/CommandLine.h"
#include "core/launch/Launch.h"
#include "core/library/Library.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

namespace zanku {
namespace {
const QString WaitingText = QStringLiteral("Waiting for selection...");
} // namespace

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
    const std::optional<GameArchive> archive =
        launched.Zipped ? launched.Archive
        : !launched.File.isEmpty() && !QFileInfo::exists(places.resolve(launched.File))
            ? places.findArchive(launched.File)
            : std::nullopt;
    const bool zipped = archive.has_value();
    // A folder a Zanku extracted, listed as the game itself (by another Zanku, or before
    // a restart): shared, so that it stays while this emulator runs too.
    const bool extracted = launched.DestinationDir.isEmpty() && !launched.File.isEmpty() &&
                           Extractions::isExtraction(places.resolve(launched.File));
    if ((zipped || extracted) &&
        !extractions_.prepare({shown.Name, emulatorDir,
                               places.archiveOf(launched.File, archive.value_or(GameArchive::Zip)),
                               launched.File, launched.DestinationDir, launched.Name})) {
        finish();
        return;
    }

    emit launchStatus(QStringLiteral("Starting Game ") + launched.Name +
                      QStringLiteral(".... Have Fun"));
    const QString options = LaunchOptions(shown.Options, launched.Options);
    const QString argument = GameArgument(launched, zipped, emulatorDir, QDir::separator());
    const LaunchCommand command = BuildLaunchCommand(shown.Program, options, argument);
    QString error;
    EmulatorProcess *started = EmulatorProcess::start(
        command.program, command.arguments, BuildCommandLine(shown.Program, options, argument),
        emulatorDir, this, &error, extractions_.tag());
    if (started == nullptr) {
        emit notice(QStringLiteral("Error"),
                    QStringLiteral("Cannot start %1: %2").arg(Quoted(shown.Program), error));
    } else {
        // Its folder stays while it runs, even after this program: recorded before anything
        // a window hears of the launch could clean up.
        extractions_.started(started);
        connect(started, &EmulatorProcess::finished, started, &QObject::deleteLater);
        if (started->running()) { // an emulator that is not watched is not waited for
            connect(started, &EmulatorProcess::finished, this, [this] {
                if (--runningEmulators_ == 0)
                    emit emulatorsRunning(false);
            });
            if (runningEmulators_++ == 0)
                emit emulatorsRunning(true);
        }
        // What was played: the launch now, the time once its emulator has ended.
        const QString playedName = historyName(shown.Name, launched.Name, launched.File);
        history_.launched(shown.Name, playedName, launched.File, QDateTime::currentDateTimeUtc());
        saveHistory();
        QElapsedTimer running;
        running.start();
        connect(
            started, &EmulatorProcess::finished, this,
            [this, running, emulatorName = shown.Name, name = playedName, file = launched.File] {
                history_.played(emulatorName, historyName(emulatorName, name, file), file,
                                running.elapsed() / 1000);
                saveHistory();
            });
    }
    finish();
}

} // namespace zanku
