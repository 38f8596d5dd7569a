#include "core/launch/Launcher.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/common/CoreText.h"
#include "core/common/Quoted.h"
#include "core/launch/CommandLine.h"
#include "core/launch/Launch.h"
#include "core/launch/LaunchLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zanku {
namespace {
QString WaitingText()
{
    return CoreText::tr("Waiting for selection...");
}

// The game as the emulator gets it: from the game's own directory it goes as the command
// line rules say; an emulator started elsewhere gets the same file by its full path.
QString ArgumentFrom(const QString &argument, const QString &gameDir, const QString &runDir)
{
    if (QDir::cleanPath(gameDir) == QDir::cleanPath(runDir))
        return argument;
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(gameDir).absoluteFilePath(argument)));
}
} // namespace

Launcher::Launcher(const QString &programDir, QObject *parent, const QString &logFolder)
    : QObject(parent)
    , programDir_(programDir)
    , logFolder_(logFolder.isEmpty()
                     ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                           QStringLiteral("/logs")
                     : logFolder)
    , extractions_(programDir)
{
    connect(&extractions_, &Extractions::notice, this, &Launcher::notice);
    connect(&extractions_, &Extractions::removed, this, &Launcher::extractionRemoved);
    // A run whose Zanku ended before it, seen ending here: its time, as if launched here.
    connect(
        &extractions_, &Extractions::played, this,
        [this](const QString &emulator, const QString &name, const QString &file, qint64 seconds) {
            emit ended({emulator, name, file}, seconds);
        });
}

void Launcher::finish()
{
    emit busy(false);
    emit status(WaitingText());
}

void Launcher::refuse(const QString &text)
{
    if (!text.isEmpty())
        emit notice(CoreText::tr("Error"), text);
    finish();
}

void Launcher::countRunning()
{
    for (RunningGame *game : std::as_const(running_))
        game->count();
}

void Launcher::renameEmulator(const QString &from, const QString &to)
{
    extractions_.renameEmulator(from, to);
    for (RunningGame *game : std::as_const(running_)) {
        if (game->key.emulator == from)
            game->key.emulator = to;
    }
}

void Launcher::renameGame(const QString &emulator, const QString &file, const QString &from,
                          const QString &to)
{
    for (RunningGame *game : std::as_const(running_)) {
        if (game->key == GameKey{emulator, from, file})
            game->key.name = to;
    }
}

void Launcher::start(const LaunchRequest &request)
{
    emit busy(true);
    emit status(CoreText::tr("Decompressing Games... %1.... Please Wait").arg(request.game.Name));
    const QString gameDir = EmulatorPlaces(request.own, programDir_).directory();
    for (const EmulatorRecord *emulator : {&request.own, &request.with}) {
        const QString directory = EmulatorPlaces(*emulator, programDir_).directory();
        if (!QFileInfo(directory).isDir()) {
            emit notice(CoreText::tr("Error"), NotConfiguredText(emulator->Name, directory));
            finish();
            return;
        }
    }
    bool zipped = false;
    if (prepare(request, gameDir, zipped))
        run(request, gameDir, zipped);
    finish();
}

bool Launcher::prepare(const LaunchRequest &request, const QString &gameDir, bool &zipped)
{
    const GameRecord &game = request.game;
    const EmulatorPlaces places(request.own, programDir_);
    // The catalogue may have been read while the last extraction still lay there (an
    // editor's reload): the clean-up has just removed that copy, so the archive serves.
    const std::optional<GameArchive> archive =
        game.Zipped ? game.Archive
        : !game.File.isEmpty() && !QFileInfo::exists(places.resolve(game.File))
            ? places.findArchive(game.File)
            : std::nullopt;
    zipped = archive.has_value();
    // A folder a Zanku extracted, listed as the game itself (by another Zanku, or before
    // a restart): shared, so that it stays while this emulator runs too.
    const bool extracted = game.DestinationDir.isEmpty() && !game.File.isEmpty() &&
                           Extractions::isExtraction(places.resolve(game.File));
    // Its saves are kept under the emulator whose game it is, whichever starts it.
    return !(zipped || extracted) ||
           extractions_.prepare({request.own.Name, gameDir,
                                 places.archiveOf(game.File, archive.value_or(GameArchive::Zip)),
                                 game.File, game.DestinationDir, game.Name});
}

void Launcher::run(const LaunchRequest &request, const QString &gameDir, bool zipped)
{
    const GameRecord &game = request.game;
    const EmulatorRecord &with = request.with;
    emit status(CoreText::tr("Starting Game %1.... Have Fun").arg(game.Name));
    // A game's own options are written for its own emulator.
    const bool own = with == request.own;
    const QString options = own ? LaunchOptions(with.Options, game.Options) : with.Options;
    const QString runDir = EmulatorPlaces(with, programDir_).directory();
    const QString argument =
        ArgumentFrom(GameArgument(game, zipped, gameDir, QDir::separator()), gameDir, runDir);
    const LaunchCommand command = BuildLaunchCommand(with.Program, options, argument);
    // Another launch of this emulator may still write to its log: then it is not bounded.
    const QString log = LaunchLogPath(logFolder_, with.Name);
    const qint64 logFrom = BeginLaunchLog(log, game.Name, !logInUse(log));
    QString error;
    EmulatorProcess *started = EmulatorProcess::start(
        command.program, command.arguments, BuildCommandLine(with.Program, options, argument),
        runDir, this, &error, extractions_.tag(), logFrom < 0 ? QString() : log);
    if (started == nullptr) {
        const QString reason = QCoreApplication::translate("Launch", "%1 could not be started: %2")
                                   .arg(Quoted(with.Program), error);
        if (logFrom >= 0)
            AddToLaunchLog(log, reason);
        emit failed({request.key, with.Name, reason, {}, logFrom < 0 ? QString() : log, false});
        return;
    }
    // Its folder stays while it runs, even after this program: recorded before anything
    // a listener hears of the launch could clean up.
    extractions_.started(started);
    connect(started, &EmulatorProcess::finished, started, &QObject::deleteLater);
    if (started->running()) // an emulator that is not watched is not waited for
        watch(started, request.key, with.Name, log, logFrom);
    else
        emit this->started(request.key);
}

void Launcher::watch(EmulatorProcess *process, const GameKey &key, const QString &emulator,
                     const QString &log, qint64 logFrom)
{
    auto *game = new RunningGame(process, key, emulator, log, logFrom, this);
    running_.append(game);
    if (running_.size() == 1)
        emit runningChanged(true);
    connect(game, &RunningGame::counted, this, &Launcher::started);
    connect(game, &RunningGame::ended, this, &Launcher::ended);
    connect(game, &RunningGame::failed, this, &Launcher::failed);
    connect(game, &RunningGame::finished, this, [this, game](int status, int signal) {
        running_.removeOne(game);
        emit emulatorEnded(game->key, status, signal);
        game->deleteLater();
        if (!game->log().isEmpty() && !logInUse(game->log()))
            BoundLaunchLog(game->log());
        if (running_.isEmpty())
            emit runningChanged(false);
    });
}

bool Launcher::logInUse(const QString &log) const
{
    return std::any_of(running_.cbegin(), running_.cend(),
                       [&log](const RunningGame *game) { return game->log() == log; });
}

} // namespace zanku
