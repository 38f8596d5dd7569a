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

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

namespace zanku {
namespace {
const QString WaitingText = QStringLiteral("Waiting for selection...");
} // namespace

bool Library::Extraction::inUse() const
{
    return std::any_of(emulators.cbegin(), emulators.cend(),
                       [](const QPointer<EmulatorProcess> &e) { return e && e->running(); });
}

void Library::CleanupExtraction()
{
    if (!LastExtractDir)
        return;
    if (!LastExtractDir->inUse()) {
        removeExtraction(*LastExtractDir);
        LastExtractDir.reset();
        return;
    }
    // The emulator may still write into it (a battery save): the removal waits.
    const Extraction *waiting = LastExtractDir.get();
    for (const QPointer<EmulatorProcess> &emulator : std::as_const(waiting->emulators)) {
        if (emulator)
            connect(emulator, &EmulatorProcess::finished, this,
                    [this, waiting] { removeWhenUnused(waiting); });
    }
    waiting_.push_back(std::move(LastExtractDir));
}

void Library::removeWhenUnused(const Extraction *extraction)
{
    const auto found = std::find_if(waiting_.begin(), waiting_.end(), [&](const auto &waiting) {
        return waiting.get() == extraction;
    });
    if (found == waiting_.end() || extraction->inUse())
        return;
    removeExtraction(*extraction);
    waiting_.erase(found);
}

void Library::removeExtraction(const Extraction &extraction)
{
    KeepPlayersFiles(extraction.folder, extraction.marker, extraction.saves);
    journal_.remove(extraction.folder);
    emit extractionRemoved(extraction.folder);
}

void Library::extractGame(const GameRecord &game, const QString &emulatorName,
                          const QString &emulatorDir)
{
    const EmulatorPlaces places(emulator(game.EmulatorIndex), programDir_);
    QString target = game.DestinationDir;
    if (target.isEmpty())
        target = u'.' + QDir::separator() + game.File;
    const QString targetPath = QDir::cleanPath(QDir(emulatorDir).filePath(target));
    // Still there for an emulator that runs this game yet: the new one shares it.
    const auto waiting = std::find_if(waiting_.begin(), waiting_.end(),
                                      [&](const auto &w) { return w->folder == targetPath; });
    if (waiting != waiting_.end()) {
        LastExtractDir = std::move(*waiting);
        waiting_.erase(waiting);
        return;
    }
    // Only a folder this extraction makes for the game is removed again; a destination
    // directory, or a folder of the player's, keeps what it received.
    ExtractionMarker marker{NewToken(), emulatorName, game.File, {}};
    QString warning;
    const bool made = game.DestinationDir.isEmpty() && !QFileInfo::exists(targetPath) &&
                      journal_.begin(targetPath, marker.token, &warning);
    if (!warning.isEmpty())
        emit notice(QStringLiteral("Error"), warning);
    // A failed extraction does not stop the launch; its status number is shown.
    if (const int status = UnzipArchive(places.archiveOf(game.File), targetPath); status != UnzipOk)
        emit notice(QString::fromUtf8(Version::ProductTitle), QString::number(status));
    if (!made || !WriteMarker(targetPath, marker))
        return;
    // What the emulator wrote last time comes back, over what the archive holds.
    const QString saves = SavesFolder(programDir_, emulatorName, game.File);
    RestoreKeptFiles(saves, targetPath);
    LastExtractDir = std::make_unique<Extraction>(Extraction{targetPath, marker, saves, {}});
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
        extractGame(launched, shown.Name, emulatorDir);

    emit launchStatus(QStringLiteral("Starting Game ") + launched.Name +
                      QStringLiteral(".... Have Fun"));
    const QString options = LaunchOptions(shown.Options, launched.Options);
    const QString argument = GameArgument(launched, zipped, emulatorDir, QDir::separator());
    const LaunchCommand command = BuildLaunchCommand(shown.Program, options, argument);
    QString error;
    EmulatorProcess *started = EmulatorProcess::start(
        command.program, command.arguments, BuildCommandLine(shown.Program, options, argument),
        emulatorDir, this, &error);
    if (started == nullptr) {
        emit notice(QStringLiteral("Error"),
                    QStringLiteral("Cannot start %1: %2").arg(Quoted(shown.Program), error));
    } else {
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
        if (LastExtractDir) { // its folder stays while it runs, even after this program
            LastExtractDir->emulators.append(started);
            journal_.setOwner(LastExtractDir->folder, started->pid(), started->startTime());
        }
    }
    finish();
}

} // namespace zanku
