#pragma once

#include "core/launch/LaunchFailure.h"
#include "core/records/GameKey.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

namespace zanku {

class EmulatorProcess;

// A game whose emulator was started, watched until it ends. It counts as played once the
// emulator has run CountedAfterSeconds, or has ended well before; one that ends sooner with
// a status other than 0 or by a signal did not start the game and is never counted. Any
// end in error is reported, played or not.
class RunningGame : public QObject {
    Q_OBJECT
public:
    static constexpr int CountedAfterSeconds = 5;

    // Takes over watching `process`, which must be running; `log` is where its output goes
    // from byte `logFrom` on (-1: nowhere).
    RunningGame(EmulatorProcess *process, const GameKey &key, const QString &emulator,
                const QString &log, qint64 logFrom, QObject *parent);

    // A rename while it runs: its time is told under the new key.
    GameKey key;
    const QString &log() const { return log_; }
    // Counts it as played now, once.
    void count();

signals:
    void counted(const zanku::GameKey &game);
    void ended(const zanku::GameKey &game, qint64 seconds);
    void failed(const zanku::LaunchFailure &failure);
    // Its emulator has ended, whatever was told of it: its exit status, or the signal that
    // ended it (0: none).
    void finished(int status, int signal);

private:
    void onEnded(int status, int signal);

    QString emulator_;
    QString log_;
    qint64 logFrom_;
    QElapsedTimer clock_;
    bool counted_ = false;
};

// What ended an emulator, in words: "it ended with status 3", "it was stopped by signal
// 11 (Segmentation fault)"; empty for a status of 0.
QString EndInWords(int status, int signal);

} // namespace zanku
