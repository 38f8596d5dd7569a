#include "core/launch/RunningGame.h"

#include "core/launch/Launch.h"
#include "core/launch/LaunchLog.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstring>

namespace zanku {

QString EndInWords(int status, int signal)
{
    if (signal != 0)
        return QCoreApplication::translate("Launch", "it was stopped by signal %1 (%2)")
            .arg(signal)
            .arg(QString::fromLocal8Bit(strsignal(signal)));
    if (status != 0)
        return QCoreApplication::translate("Launch", "it ended with status %1").arg(status);
    return {};
}

RunningGame::RunningGame(EmulatorProcess *process, const GameKey &key, const QString &emulator,
                         const QString &log, qint64 logFrom, QObject *parent)
    : QObject(parent)
    , key(key)
    , emulator_(emulator)
    , log_(logFrom < 0 ? QString() : log)
    , logFrom_(logFrom)
{
    clock_.start();
    QTimer::singleShot(CountedAfterSeconds * 1000, Qt::PreciseTimer, this, &RunningGame::count);
    connect(process, &EmulatorProcess::finished, this,
            [this, process] { onEnded(process->exitStatus(), process->exitSignal()); });
}

void RunningGame::count()
{
    if (!std::exchange(counted_, true))
        emit counted(key);
}

void RunningGame::onEnded(int status, int signal)
{
    const qint64 seconds = clock_.elapsed() / 1000;
    const QString end = EndInWords(status, signal);
    // An end in error before the game could be played: the emulator refused it.
    if (end.isEmpty() || counted_ || seconds >= CountedAfterSeconds) {
        count();
        emit ended(key, seconds);
    }
    if (!end.isEmpty())
        emit failed({key, emulator_, end, LastLaunchLogLine(log_, logFrom_), log_, counted_});
    emit finished(status, signal);
}

} // namespace zanku
