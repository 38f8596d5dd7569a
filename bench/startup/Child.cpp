#include "Child.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
constexpr int PaintedStatus = 77; // what the preloaded watch ends the process with

pid_t displayServer = 0;

void endDisplay()
{
    if (displayServer > 0) {
        kill(displayServer, SIGTERM);
        waitpid(displayServer, nullptr, 0);
    }
}

// Interrupted: the display goes with the benchmark.
void endDisplayAndExit(int)
{
    if (displayServer > 0)
        kill(displayServer, SIGTERM);
    _exit(2);
}

pid_t spawn(const QString &program, const QStringList &arguments, const QStringList &environment)
{
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> variables;
    for (const QString &variable : environment)
        variables.push_back(variable.toLocal8Bit());
    std::vector<char *> envp;
    for (QByteArray &variable : variables)
        envp.push_back(variable.data());
    for (char **variable = environ; *variable != nullptr; ++variable) {
        const QByteArray whole(*variable);
        const QByteArray name = whole.left(whole.indexOf('=') + 1);
        if (!std::any_of(variables.begin(), variables.end(),
                         [&](const QByteArray &own) { return own.startsWith(name); }))
            envp.push_back(*variable);
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed != 0 ? 0 : pid;
}
} // namespace

StartFigures StartToFirstPaint(const QString &program, const QStringList &arguments,
                               const QStringList &environment, int patienceMs)
{
    StartFigures figures;
    const QString report =
        QDir::temp().filePath(QStringLiteral("zanku-first-paint-%1").arg(getpid()));
    QFile::remove(report);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid =
        spawn(program, arguments,
              QStringList(environment) << QStringLiteral("ZANKU_FIRST_PAINT_REPORT=") + report);
    if (pid == 0)
        return figures;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (timer.elapsed() > patienceMs) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            figures.wallMs = double(timer.elapsed());
            return figures;
        }
        QThread::usleep(500);
    }
    figures.wallMs = double(timer.nsecsElapsed()) / 1e6;
    figures.painted = WIFEXITED(status) && WEXITSTATUS(status) == PaintedStatus;
    const auto ms = [](const timeval &time) {
        return double(time.tv_sec) * 1e3 + time.tv_usec / 1e3;
    };
    figures.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    QFile peak(report);
    figures.painted = figures.painted && peak.open(QIODevice::ReadOnly);
    figures.peakMB = peak.readAll().trimmed().split(' ').value(0).toDouble() * 1024 / 1e6;
    peak.remove();
    return figures;
}

QString StartDisplay()
{
    for (int number = 90 + int(getpid() % 50); number < 190; ++number) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
            QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        const QString display = QStringLiteral(":%1").arg(number);
        displayServer = spawn(QStringLiteral("/usr/bin/Xvfb"),
                              {display, QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")},
                              {});
        if (displayServer == 0)
            return {};
        std::atexit(endDisplay);
        std::signal(SIGINT, endDisplayAndExit);
        std::signal(SIGTERM, endDisplayAndExit);
        for (int waited = 0; waited < 100; ++waited) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
                return display;
            QThread::msleep(50);
        }
        return {};
    }
    return {};
}
