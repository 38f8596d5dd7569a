#pragma once

#include "core/launch/Extractions.h"
#include "core/launch/RunningGame.h"
#include "core/records/GameKey.h"
#include "core/records/Records.h"

#include <QList>
#include <QObject>
#include <QString>

namespace zanku {

// One launch, as plain data: the game, the emulator whose games it is (where its file,
// its archive and its kept saves are), and the emulator to start it with (its program,
// options and directory), the same one unless the player chose another.
struct LaunchRequest {
    GameKey key;
    GameRecord game;
    EmulatorRecord own;
    EmulatorRecord with;
};

// Launches games and does nothing else: a zipped game's archive extracted first, the
// emulator started in its own directory with the game on its command line, its output kept
// in its log, and what the last launch extracted removed at the next action. It says when
// a game counts as played and, once its emulator has ended, how long it ran, and why a
// launch failed; whoever keeps or shows such things listens.
class Launcher : public QObject {
    Q_OBJECT
public:
    // The emulators' output is kept in `logFolder` (empty: the user's cache folder's "logs").
    explicit Launcher(const QString &programDir, QObject *parent = nullptr,
                      const QString &logFolder = {});

    // At start-up: what a crashed session extracted in these directories is recovered.
    void recover(const QStringList &emulatorDirectories)
    {
        extractions_.recover(emulatorDirectories);
    }
    void start(const LaunchRequest &request);
    // Removes the folder the last zipped launch extracted into, keeping the files the
    // emulator wrote; while an emulator started on it still runs, the removal waits.
    void cleanup() { extractions_.cleanup(); }
    // How many emulators this launcher started still run (those it can watch).
    int running() const { return int(running_.size()); }

    // The program ends: a game still in its first seconds counts as played now, as its end
    // will not be seen.
    void countRunning();

    // A launch that cannot be made: the box, when there is something to say, and the
    // status back to waiting.
    void refuse(const QString &text = {});
    // A rename while a game runs: the time it is played is told under its new key.
    void renameEmulator(const QString &from, const QString &to);
    void renameGame(const QString &emulator, const QString &file, const QString &from,
                    const QString &to);

signals:
    // The game counts as played: its emulator has run a while, or ended well.
    void started(const zanku::GameKey &game);
    void ended(const zanku::GameKey &game, qint64 seconds);
    // Its emulator could not be started, or ended in error: soon (the game was not
    // played), or later (it was).
    void failed(const zanku::LaunchFailure &failure);
    // A watched emulator has ended: its exit status, or the signal that ended it (0: none).
    void emulatorEnded(const zanku::GameKey &game, int status, int signal);
    // The launch's status text, and whether it holds the window meanwhile.
    void status(const QString &text);
    void busy(bool busy);
    // The first emulator launched now runs (true), or the last of them has ended (false).
    void runningChanged(bool running);
    void notice(const QString &title, const QString &text);
    // An extraction folder is gone, the player's files in it kept.
    void extractionRemoved(const QString &folder);

private:
    // Extracts a zipped game into its folder; false when the launch must stop.
    bool prepare(const LaunchRequest &request, const QString &gameDir, bool &zipped);
    void run(const LaunchRequest &request, const QString &gameDir, bool zipped);
    void finish();
    void watch(EmulatorProcess *process, const GameKey &key, const QString &emulator,
               const QString &log, qint64 logFrom);
    bool logInUse(const QString &log) const;

    QString programDir_;
    QString logFolder_;
    // Every folder a zipped launch extracted into, until it is removed.
    Extractions extractions_;
    // The games whose emulators run, watched.
    QList<RunningGame *> running_;
};

} // namespace zanku
