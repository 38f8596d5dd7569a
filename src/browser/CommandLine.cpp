#include "browser/CommandLine.h"

#include "catalogue/RomList.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString LaunchOptions(const QString &emulatorOptions, const QString &gameOptions)
{
    return gameOptions.isEmpty() ? emulatorOptions : gameOptions;
}

QString GameArgument(const QString &file, QChar separator)
{
    if (StripExtension(file) == file)
        return file;
    return u'.' + separator + file + separator + file;
}

QString PlaceGameArgument(const QString &options, const QString &gameArgument)
{
    const qsizetype percent = options.lastIndexOf(u'%');
    if (percent < 0)
        return options;
    return options.left(percent) + gameArgument + options.mid(percent + 1);
}

QString BuildCommandLine(const QString &program, const QString &options,
                         const QString &gameArgument)
{
    return program + u' ' + PlaceGameArgument(options, gameArgument);
}

LaunchCommand BuildLaunchCommand(const QString &program, const QString &options,
                                 const QString &gameArgument)
{
    LaunchCommand command{program, QProcess::splitCommand(options)};
    for (qsizetype word = command.arguments.size() - 1; word >= 0; --word) {
        if (command.arguments[word].contains(u'%')) {
            command.arguments[word] = PlaceGameArgument(command.arguments[word], gameArgument);
            break;
        }
    }
    return command;
}

QString ResolveProgram(const QString &program, const QString &emulatorDir)
{
    if (program.isEmpty())
        return {};
    const auto runnable = [](const QFileInfo &file) {
        return file.isFile() && file.isExecutable();
    };
    const QFileInfo inEmulatorDir(QDir(emulatorDir), program);
    if (runnable(inEmulatorDir))
        return inEmulatorDir.absoluteFilePath();
    if (program.contains(u'/') || program.contains(QDir::separator()))
        return {};
    return QStandardPaths::findExecutable(program);
}
