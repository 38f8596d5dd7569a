#include "core/launch/Launcher.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/common/Quoted.h"
#include "core/launch/CommandLine.h"
#include "core/launch/Launch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace zanku {
namespace {
const QString WaitingText = QStringLiteral("Waiting for selection...");

// The game as the emulator gets it: from the game's own directory it goes as the command
// line rules say; an emulator started elsewhere gets the same file by its full path.
QString ArgumentFrom(const QString &argument, const QString &gameDir, const QString &runDir)
{
    if (QDir::cleanPath(gameDir) == QDir::cleanPath(runDir))
        return argument;
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(gameDir).absoluteFilePath(argument)));
}
} // namespace

Launcher::Launcher(const QString &programDir, QObject *parent)
    : QObject(parent)
    , programDir_(programDir)
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
    emit status(WaitingText);
}

void Launcher::refuse(const QString &text)
{
    if (!text.isEmpty())
        emit notice(QStringLiteral("Error"), text);
    finish();
}

void Launcher::renameEmulator(const QString &from, const QString &to)
{
    extractions_.renameEmulator(from, to);
    for (GameKey &game : runningGames_) {
        if (game.emulator == from)
            game.emulator = to;
    }
}

void Launcher::renameGame(const QString &emulator, const QString &file, const QString &from,
                          const QString &to)
{
    for (GameKey &game : runningGames_) {
        if (game == GameKey{emulator, from, file})
            game.name = to;
    }
}

void Launcher::start(const LaunchRequest &request)
{
    emit busy(true);
    emit status(QStringLiteral("Decompressing Games... ") + request.game.Name +
                QStringLiteral(".... Please Wait"));
    const QString gameDir = EmulatorPlaces(request.own, programDir_).directory();
    for (const EmulatorRecord *emulator : {&request.own, &request.with}) {
        const QString directory = EmulatorPlaces(*emulator, programDir_).directory();
        if (!QFileInfo(directory).isDir()) {
            emit notice(QStringLiteral("Error"), NotConfiguredText(emulator->Name, directory));
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
    emit status(QStringLiteral("Starting Game ") + game.Name + QStringLiteral(".... Have Fun"));
    // A game's own options are written for its own emulator.
    const bool own = with == request.own;
    const QString options = own ? LaunchOptions(with.Options, game.Options) : with.Options;
    const QString runDir = EmulatorPlaces(with, programDir_).directory();
    const QString argument =
        ArgumentFrom(GameArgument(game, zipped, gameDir, QDir::separator()), gameDir, runDir);
    const LaunchCommand command = BuildLaunchCommand(with.Program, options, argument);
    QString error;
    EmulatorProcess *started = EmulatorProcess::start(
        command.program, command.arguments, BuildCommandLine(with.Program, options, argument),
        runDir, this, &error, extractions_.tag());
    if (started == nullptr) {
        emit notice(QStringLiteral("Error"),
                    QStringLiteral("Cannot start %1: %2").arg(Quoted(with.Program), error));
        return;
    }
    // Its folder stays while it runs, even after this program: recorded before anything
    // a listener hears of the launch could clean up.
    extractions_.started(started);
    connect(started, &EmulatorProcess::finished, started, &QObject::deleteLater);
    if (started->running()) { // an emulator that is not watched is not waited for
        if (running_++ == 0)
            emit runningChanged(true);
        QElapsedTimer clock;
        clock.start();
        runningGames_.insert(started, request.key);
        connect(started, &EmulatorProcess::finished, this, [this, clock, started] {
            if (--running_ == 0)
                emit runningChanged(false);
            emit ended(runningGames_.take(started), clock.elapsed() / 1000);
        });
    }
    emit this->started(request.key);
}

} // namespace zanku
