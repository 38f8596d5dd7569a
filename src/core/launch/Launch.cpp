#include "core/launch/Launch.h"

#include "core/common/CoreText.h"
#include "core/launch/CommandLine.h"
#include "core/launch/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QThread>

#include <memory>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif
#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

namespace zanku {
namespace {
#ifdef Q_OS_LINUX
// Field 22 of /proc/<pid>/stat: the process's start, in clock ticks since boot; 0 for a
// process that is gone, or has ended and waits to be reaped (a zombie).
quint64 startTimeOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // The name, in parentheses, may hold anything: the fields follow its last ")".
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() <= 19 || fields.at(0) == "Z" || fields.at(0) == "X")
        return 0;
    return fields.at(19).toULongLong();
}

// Whether a process other than a zombie, in session `session`, is listed in /proc.
bool anyProcessIn(qint64 session)
{
    const QDir proc(QStringLiteral("/proc"));
    const QStringList numbers = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &number : numbers) {
        if (!number.front().isDigit())
            continue;
        QFile stat(proc.filePath(number) + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 3 && fields.at(0) != "Z" && fields.at(0) != "X" &&
            fields.at(3).toLongLong() == session)
            return true;
    }
    return false;
}

// Whether a process other than a zombie, started with `entry` ("NAME=value") in its
// environment, is listed in /proc. Only the user's own processes can be read, and only
// they can be the user's emulators.
bool anyProcessWith(const QByteArray &entry)
{
    const QDir proc(QStringLiteral("/proc"));
    const QStringList numbers = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &number : numbers) {
        if (!number.front().isDigit())
            continue;
        QFile environment(proc.filePath(number) + QStringLiteral("/environ"));
        if (!environment.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = '\0' + environment.readAll();
        if (text.contains('\0' + entry + '\0') && startTimeOf(number.toLongLong()) != 0)
            return true;
    }
    return false;
}

// The program's environment for an emulator: its own, but with the launch's tag alone.
std::vector<char *> environmentWith(const QByteArray &tagEntry)
{
    const QByteArray name = QByteArray(LaunchTagVariable) + '=';
    std::vector<char *> entries;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        if (!QByteArray::fromRawData(*entry, qsizetype(strlen(*entry))).startsWith(name))
            entries.push_back(*entry);
    }
    if (!tagEntry.isEmpty())
        entries.push_back(const_cast<char *>(tagEntry.constData()));
    entries.push_back(nullptr);
    return entries;
}

// The emulator's output file, opened for adding to; -1 for anything but a regular file (a
// FIFO put in its place would hold the launch up, a device would get the output).
int openOutput(const QByteArray &path)
{
    const int file = ::open(
        path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    struct stat status {};
    if (file < 0 || ::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (file >= 0)
            ::close(file);
        return -1;
    }
    ::fcntl(file, F_SETFL, O_APPEND);
    return file;
}

// Starts the program as a child in a session of its own, its input from /dev/null, its
// output and errors to `output` (-1: to /dev/null).
pid_t spawn(const QByteArray &program, const QList<QByteArray> &arguments,
            const QByteArray &directory, const QByteArray &tagEntry, int output, int *error)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.constData()));
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    posix_spawn_file_actions_addchdir_np(&actions, directory.constData());
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF);
    sigset_t defaults; // the program's ignored signals are not the emulator's
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    std::vector<char *> environment = environmentWith(tagEntry);
    pid_t pid = 0;
    *error = posix_spawn(&pid, program.constData(), &actions, &attributes, argv.data(),
                         environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return *error == 0 ? pid : -1;
}
#endif
} // namespace

EmulatorProcess *EmulatorProcess::start(const QString &program, const QStringList &arguments,
                                        const QString &commandLine, const QString &workingDirectory,
                                        QObject *parent, QString *error, const QString &tag,
                                        const QString &outputFile)
{
    std::unique_ptr<EmulatorProcess> process(new EmulatorProcess(parent));
#ifdef Q_OS_WIN
    Q_UNUSED(program);
    Q_UNUSED(arguments);
    Q_UNUSED(tag);
    Q_UNUSED(outputFile);
    std::wstring line = commandLine.toStdWString();
    const std::wstring directory = QDir::toNativeSeparators(workingDirectory).toStdWString();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &started)) {
        *error = qt_error_string(int(GetLastError()));
        return nullptr;
    }
    process->pid_ = started.dwProcessId;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return process.release(); // not watched: Windows keeps files in use from being removed anyway
#else
    Q_UNUSED(commandLine);
    QString problem;
    const QString resolved = ResolveProgram(program, workingDirectory, &problem);
    if (resolved.isEmpty()) {
        *error = program.isEmpty() ? CoreText::tr("no program is configured")
                                   : CoreText::tr("the program %1").arg(problem);
        return nullptr;
    }
#ifdef Q_OS_LINUX
    QList<QByteArray> words;
    for (const QString &argument : arguments)
        words.append(QFile::encodeName(argument));
    int failure = 0;
    const QByteArray tagEntry =
        tag.isEmpty() ? QByteArray() : QByteArray(LaunchTagVariable) + '=' + tag.toUtf8();
    const int output = outputFile.isEmpty() ? -1 : openOutput(QFile::encodeName(outputFile));
    const pid_t pid = spawn(QFile::encodeName(resolved), words, QFile::encodeName(workingDirectory),
                            tagEntry, output, &failure);
    if (output >= 0)
        ::close(output);
    if (pid < 0) {
        *error = QString::fromLocal8Bit(strerror(failure));
        return nullptr;
    }
    // For the crash tests only: widens the moment between the spawn and its record.
    if (const int pause = qEnvironmentVariableIntValue("ZANKU_TEST_SPAWN_PAUSE_MS"); pause > 0)
        QThread::msleep(pause);
    // Our own child cannot be reaped by anyone else: its number is still its own here.
    process->pid_ = pid;
    process->startTime_ = startTimeOf(pid);
    process->handle_ = int(::syscall(SYS_pidfd_open, pid, 0));
    // A kernel without process file descriptors: not watched, as on other systems.
    process->running_ = process->handle_ >= 0;
    if (process->handle_ >= 0) {
        process->watch_ =
            new QSocketNotifier(process->handle_, QSocketNotifier::Read, process.get());
        connect(process->watch_, &QSocketNotifier::activated, process.get(),
                &EmulatorProcess::ended);
    }
    return process.release();
#else
    QProcess detached;
    detached.setProgram(resolved);
    detached.setArguments(arguments);
    detached.setWorkingDirectory(workingDirectory);
    detached.setStandardInputFile(QProcess::nullDevice());
    detached.setStandardOutputFile(outputFile.isEmpty() ? QProcess::nullDevice() : outputFile,
                                   QIODevice::Append);
    detached.setStandardErrorFile(outputFile.isEmpty() ? QProcess::nullDevice() : outputFile,
                                  QIODevice::Append);
    if (!detached.startDetached(&process->pid_)) {
        *error = detached.errorString();
        return nullptr;
    }
    return process.release();
#endif
#endif
}

void EmulatorProcess::ended()
{
#ifdef Q_OS_LINUX
    watch_->setEnabled(false);
    siginfo_t info{};
    // Reaped here, so no zombie is left.
    if (waitid(idtype_t(P_PIDFD), id_t(handle_), &info, WEXITED | WNOHANG) == 0) {
        if (info.si_code == CLD_EXITED)
            exitStatus_ = info.si_status;
        else if (info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED)
            exitSignal_ = info.si_status;
    }
    ::close(std::exchange(handle_, -1));
#endif
    running_ = false;
    emit finished();
}

EmulatorProcess::~EmulatorProcess()
{
#ifdef Q_OS_LINUX
    if (handle_ >= 0)
        ::close(handle_);
#endif
}

bool ProcessRunning(qint64 pid, quint64 startTime)
{
#ifdef Q_OS_LINUX
    if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
        return false;
    const quint64 started = startTimeOf(pid);
    return started != 0 && started == startTime;
#else
    Q_UNUSED(pid);
    Q_UNUSED(startTime);
    return false;
#endif
}

bool SessionRunning(const Session &session)
{
#ifdef Q_OS_LINUX
    if (ProcessRunning(session.pid, session.startTime))
        return true;
    // The leader has ended. Its number is not reused while its session has a process left,
    // so another process by that number means the session is over.
    if (session.pid <= 0 || startTimeOf(session.pid) != 0)
        return false;
    return anyProcessIn(session.pid);
#else
    return ProcessRunning(session.pid, session.startTime);
#endif
}

Session ThisProcess()
{
    const qint64 pid = QCoreApplication::applicationPid();
#ifdef Q_OS_LINUX
    static const quint64 started = startTimeOf(pid);
    return {pid, started};
#else
    return {pid, 0};
#endif
}

bool Alive(const Session &process)
{
    return ProcessRunning(process.pid, process.startTime);
}

qint64 StartedAt(const Session &process)
{
#ifdef Q_OS_LINUX
    // The start is counted in clock ticks from the boot, whose time /proc/stat gives.
    QFile stat(QStringLiteral("/proc/stat"));
    if (process.startTime == 0 || !stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const qsizetype at = text.indexOf("\nbtime ");
    const qint64 boot =
        at < 0 ? 0 : text.mid(at + 7, text.indexOf('\n', at + 1) - at - 7).trimmed().toLongLong();
    return boot == 0 ? 0 : boot + qint64(process.startTime) / ::sysconf(_SC_CLK_TCK);
#else
    Q_UNUSED(process);
    return 0;
#endif
}

bool TaggedProcessRunning(const QString &tag)
{
#ifdef Q_OS_LINUX
    return !tag.isEmpty() && anyProcessWith(QByteArray(LaunchTagVariable) + '=' + tag.toUtf8());
#else
    Q_UNUSED(tag);
    return false;
#endif
}

} // namespace zanku
