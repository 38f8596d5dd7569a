#include "core/editor/ProgramChoice.h"

#include "core/catalogue/PresenceIndex.h"
#include "core/launch/CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString absoluteDirectory(const QString &directory, const QString &programDir)
{
    return directory.isEmpty() ? QString()
                               : QDir::cleanPath(QDir(programDir).absoluteFilePath(directory));
}

// The file the launch would start for `program` with this Games Directory (absolute or
// empty); empty when none.
QString startedFile(const QString &program, const QString &gamesDirectory)
{
    if (!gamesDirectory.isEmpty())
        return ResolveProgram(program, gamesDirectory);
    if (QDir::isAbsolutePath(program))
        return QFileInfo(program).isExecutable() ? program : QString();
    const bool bare = !program.contains(u'/') && !program.contains(QDir::separator());
    return bare && !program.isEmpty() ? QStandardPaths::findExecutable(program) : QString();
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    return FileNameKey(first.absoluteFilePath()) == FileNameKey(second.absoluteFilePath()) ||
           (first.exists() && first.canonicalFilePath() == second.canonicalFilePath());
}
} // namespace

ProgramChoice ChooseProgram(const QString &programFile, const QString &gamesDirectory,
                            const QString &programDir)
{
    const QFileInfo file(programFile);
    const QString folder = QDir::cleanPath(file.absolutePath());
    const QString games = absoluteDirectory(gamesDirectory, programDir);
    const bool beside = games.isEmpty() || FileNameKey(games) == FileNameKey(folder);
    if (beside && !IsSystemProgramFolder(folder, SearchPath()))
        return {file.fileName(), QDir::toNativeSeparators(folder)};
    const QString found = startedFile(file.fileName(), games);
    const bool byName = !found.isEmpty() && sameFile(found, programFile);
    return {byName ? file.fileName() : QDir::toNativeSeparators(file.absoluteFilePath()),
            gamesDirectory};
}

bool IsSystemProgramFolder(const QString &folder, const QStringList &searchPath)
{
    const QFileInfo info(folder);
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    const QString real = info.exists() ? info.canonicalFilePath() : clean;
    const auto within = [&](const QString &root) {
        const QString key = FileNameKey(root);
        for (const QString &path : {clean, real}) {
            const QString pathKey = FileNameKey(path);
            if (pathKey == key || pathKey.startsWith(key + u'/'))
                return true;
        }
        return false;
    };
#ifndef Q_OS_WIN
    for (const char *root : {"/usr", "/bin", "/sbin", "/snap", "/var/lib/flatpak"}) {
        if (within(QLatin1String(root)))
            return true;
    }
#endif
    for (const QString &entry : searchPath) {
        // A relative entry names the current folder of whoever runs a program: no folder.
        if (!QDir::isAbsolutePath(entry))
            continue;
        const QFileInfo onPath(entry);
        const QString key = FileNameKey(QDir::cleanPath(entry));
        const QString realKey = onPath.exists() ? FileNameKey(onPath.canonicalFilePath()) : key;
        for (const QString &path : {clean, real}) {
            if (FileNameKey(path) == key || FileNameKey(path) == realKey)
                return true;
        }
    }
    return false;
}

QStringList SearchPath()
{
    return qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

QString FollowGamesDirectory(const QString &program, const QString &before, const QString &after,
                             const QString &programDir)
{
    const QString was = startedFile(program, absoluteDirectory(before, programDir));
    if (was.isEmpty())
        return program; // it named nothing: nothing to keep
    const QString now = startedFile(program, absoluteDirectory(after, programDir));
    return !now.isEmpty() && sameFile(was, now)
               ? program
               : QDir::toNativeSeparators(QFileInfo(was).absoluteFilePath());
}
