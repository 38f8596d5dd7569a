#include "core/launch/Launch.h"

#include "core/launch/CommandLine.h"

#include <QDir>
#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

bool StartEmulator(const QString &program, const QStringList &arguments, const QString &commandLine,
                   const QString &workingDirectory, QString *error)
{
#ifdef Q_OS_WIN
    // Windows takes the command line as it stands, as players have always written it.
    Q_UNUSED(program);
    Q_UNUSED(arguments);
    std::wstring line = commandLine.toStdWString();
    const std::wstring directory = QDir::toNativeSeparators(workingDirectory).toStdWString();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        *error = qt_error_string(int(GetLastError()));
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
#else
    Q_UNUSED(commandLine);
    QString problem;
    const QString resolved = ResolveProgram(program, workingDirectory, &problem);
    if (resolved.isEmpty()) {
        *error = program.isEmpty() ? QStringLiteral("no program is configured")
                                   : QStringLiteral("the program ") + problem;
        return false;
    }
    QProcess process;
    process.setProgram(resolved);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        *error = process.errorString();
        return false;
    }
    return true;
#endif
}
