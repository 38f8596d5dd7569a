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
    if (games.isEmpty() || FileNameKey(games) == FileNameKey(folder))
        return {file.fileName(), QDir::toNativeSeparators(folder)};
    const QString found = startedFile(file.fileName(), games);
    const bool byName = !found.isEmpty() && sameFile(found, programFile);
    return {byName ? file.fileName() : QDir::toNativeSeparators(file.absoluteFilePath()),
            gamesDirectory};
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
