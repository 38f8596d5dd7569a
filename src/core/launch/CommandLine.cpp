#include "core/launch/CommandLine.h"

#include "core/common/CoreText.h"
#include "core/files/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <utility>
#include <vector>

QString LaunchOptions(const QString &emulatorOptions, const QString &gameOptions)
{
    return gameOptions.isEmpty() ? emulatorOptions : gameOptions;
}

QString GameArgument(const GameRecord &game, bool zipped, const QString &emulatorDir,
                     QChar separator)
{
    const QString &file = game.File;
    QStringList chosen{file}; // path parts: tested on this file system, written with `separator`
    if (StripExtension(file) != file) {
        std::vector<QStringList> places{{QStringLiteral("."), file, file}};
        if (zipped && !game.DestinationDir.isEmpty())
            places.push_back({game.DestinationDir, file});
        places.push_back({file});
        const QDir base(emulatorDir);
        const auto found =
            std::find_if(places.cbegin(), places.cend(), [&](const QStringList &place) {
                return QFileInfo::exists(base.filePath(place.join(u'/')));
            });
        chosen = found != places.cend() ? *found : places.front();
    }
    QString argument = chosen.join(separator);
    if (separator == u'/' && argument.startsWith(u'-'))
        argument.prepend(QStringLiteral("./"));
    return argument;
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

QStringList SplitOptionWords(const QString &options)
{
    QStringList words;
    QString word;
    bool inWord = false; // a quoted "" makes a word of its own, though empty
    bool quoted = false;
    for (const QChar c : options) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (c.isSpace() && !quoted) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

LaunchCommand BuildLaunchCommand(const QString &program, const QString &options,
                                 const QString &gameArgument)
{
    LaunchCommand command{program, SplitOptionWords(options)};
    for (qsizetype word = command.arguments.size() - 1; word >= 0; --word) {
        if (command.arguments[word].contains(u'%')) {
            command.arguments[word] = PlaceGameArgument(command.arguments[word], gameArgument);
            break;
        }
    }
    return command;
}

QString ResolveProgram(const QString &program, const QString &emulatorDir, QString *problem)
{
    // The emulator's own copy is the one meant, runnable or not.
    const QFileInfo inEmulatorDir(QDir(emulatorDir), program);
    const bool found = !program.isEmpty() && inEmulatorDir.isFile();
    const bool bare = !program.contains(u'/') && !program.contains(QDir::separator());
    QString resolved;
    if (found && inEmulatorDir.isExecutable())
        resolved = inEmulatorDir.absoluteFilePath();
    else if (!found && bare && !program.isEmpty())
        resolved = QStandardPaths::findExecutable(program);
    if (resolved.isEmpty() && problem != nullptr)
        *problem =
            found ? zanku::CoreText::tr("is not executable") : zanku::CoreText::tr("was not found");
    return resolved;
}
