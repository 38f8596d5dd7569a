#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

namespace zanku {

// An emulator a launch started. It runs on its own and outlives the program; while the
// program runs it watches the emulator end, without polling and without waiting, so that
// what the launch extracted for it is removed only once it is done with it. On Linux the
// emulator is a child of the program held by a process file descriptor, so its number
// can never name another process meanwhile.
class EmulatorProcess : public QObject {
    Q_OBJECT
public:
    // Starts the program with these arguments in this working directory; nothing, with
    // `error` saying why, when it cannot. On Windows the command line is handed over as
    // it stands, as players have always written it. A `tag` goes into the environment
    // of the emulator and of every process it starts (LaunchTagVariable).
    static EmulatorProcess *start(const QString &program, const QStringList &arguments,
                                  const QString &commandLine, const QString &workingDirectory,
                                  QObject *parent, QString *error, const QString &tag = {});
    ~EmulatorProcess() override; // the emulator goes on running

    bool running() const { return running_; }
    qint64 pid() const { return pid_; }
    // When it started, in the system's own count: with the number, it names this process.
    quint64 startTime() const { return startTime_; }
    // Once finished: its exit status, or 128 and the signal that ended it, as a shell says.
    int exitStatus() const { return exitStatus_; }

signals:
    void finished();

private:
    explicit EmulatorProcess(QObject *parent)
        : QObject(parent)
    {
    }
    void ended();

    qint64 pid_ = 0;
    quint64 startTime_ = 0;
    int handle_ = -1;
    int exitStatus_ = 0;
    bool running_ = false;
    QSocketNotifier *watch_ = nullptr;
};

// Whether process `pid`, started at `startTime` (as EmulatorProcess counts it), runs.
bool ProcessRunning(qint64 pid, quint64 startTime);

} // namespace zanku
