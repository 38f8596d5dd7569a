#include "core/gamedata/ConflictCopies.h"

#include <QDir>
#include <QFileInfo>

namespace zanku {

QStringList ConflictCopiesOf(const QString &directory, const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString stem = fileName.left(dot), suffix = fileName.mid(dot);
    const auto conflicted = [](QStringView middle) {
        return middle.contains(QLatin1String("conflict"), Qt::CaseInsensitive);
    };
    QStringList copies;
    const QDir dir(directory);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name == fileName)
            continue;
        const bool after = name.startsWith(fileName + QLatin1Char('.')) &&
                           conflicted(QStringView(name).mid(fileName.size()));
        const bool between =
            name.size() > fileName.size() && name.startsWith(stem) && name.endsWith(suffix) &&
            conflicted(
                QStringView(name).mid(stem.size(), name.size() - stem.size() - suffix.size()));
        const QFileInfo info(dir.filePath(name));
        if ((after || between) && info.isFile() && !info.isSymLink())
            copies.append(info.filePath());
    }
    return copies;
}

} // namespace zanku
