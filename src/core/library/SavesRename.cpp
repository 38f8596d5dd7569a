#include "core/library/SavesRename.h"
#include "core/common/CoreText.h"
#include "core/common/ProgramFiles.h"

#include "core/common/Quoted.h"
#include "core/launch/PlayersFiles.h"

#include <QDir>
#include <QFileInfo>

namespace zanku {
namespace {

QString savesOf(const QString &programDir, const QString &emulator)
{
    return QDir(programDir).filePath(QLatin1String(own::Saves) + u'/' + SavesName(emulator));
}

QString couldNotMove(const QString &from, const QString &to)
{
    return CoreText::tr("%1 could not be moved to %2.")
        .arg(Quoted(QDir::toNativeSeparators(from)), Quoted(QDir::toNativeSeparators(to)));
}

// A name beside `path` that nothing has yet: "<path> (<tag>)", "(<tag> 2)", ...
QString freeName(const QString &path, const QString &tag)
{
    const QFileInfo info(path);
    const QString stem = info.completeBaseName(), suffix = info.suffix();
    for (int n = 1;; ++n) {
        const QString label = n == 1 ? tag : QStringLiteral("%1 %2").arg(tag).arg(n);
        const QString name = info.isDir() || suffix.isEmpty()
                                 ? QStringLiteral("%1 (%2)").arg(info.fileName(), label)
                                 : QStringLiteral("%1 (%2).%3").arg(stem, label, suffix);
        const QString candidate = info.dir().filePath(name);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

// Moves every entry of `from` into `to`: folders met in both merge; of a file met in both,
// the one moved in takes the name and the one there is set aside. `from` is removed once
// empty.
void mergeInto(const QString &from, const QString &to, QStringList &problems)
{
    const QDir source(from);
    for (const QFileInfo &entry : source.entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        const QFileInfo there(target);
        if (entry.isDir() && !entry.isSymLink() && there.isDir() && !there.isSymLink()) {
            mergeInto(entry.filePath(), target, problems);
            continue;
        }
        if (there.exists() || there.isSymLink()) {
            const QString aside = freeName(target, QStringLiteral("old"));
            if (!QDir().rename(target, aside)) {
                problems.append(couldNotMove(target, aside));
                continue;
            }
        }
        if (!QDir().rename(entry.filePath(), target))
            problems.append(couldNotMove(entry.filePath(), target));
    }
    QDir().rmdir(from); // left when something could not move
}

} // namespace

bool SavesCollide(const QString &programDir, const QString &from, const QString &to)
{
    return QFileInfo(savesOf(programDir, from)).isDir() &&
           QFileInfo::exists(savesOf(programDir, to));
}

QStringList RenameSaves(const QString &programDir, const QString &from, const QString &to,
                        SavesCollision collision)
{
    const QString oldSaves = savesOf(programDir, from), newSaves = savesOf(programDir, to);
    if (!QFileInfo(oldSaves).isDir())
        return {};
    QStringList problems;
    const QFileInfo there(newSaves);
    if (there.exists() || there.isSymLink()) {
        if (collision == SavesCollision::Merge && there.isDir() && !there.isSymLink()) {
            mergeInto(oldSaves, newSaves, problems);
            return problems;
        }
        const QString aside = freeName(newSaves, QStringLiteral("old"));
        if (!QDir().rename(newSaves, aside))
            return {couldNotMove(newSaves, aside)};
    }
    if (!QDir().rename(oldSaves, newSaves))
        problems.append(couldNotMove(oldSaves, newSaves));
    return problems;
}

} // namespace zanku
