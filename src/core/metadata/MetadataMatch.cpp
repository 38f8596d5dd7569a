#include "core/metadata/MetadataMatch.h"

#include <QDir>

namespace zanku {
namespace {
// A path as a key: "./x", "x" and "/games/x" (inside the folder) are the same game; a path
// leading outside the folder names no game of it.
QString pathKey(const QString &folder, const QString &path)
{
    if (path.isEmpty())
        return {};
    QString inside = QDir::cleanPath(folder);
    if (!inside.endsWith(QLatin1Char('/')))
        inside += QLatin1Char('/');
    const QString full = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : inside + path);
    return full.startsWith(inside) ? full.mid(inside.size()) : QString();
}

QString nameKey(QStringView name)
{
    return name.trimmed().toString().toCaseFolded();
}
} // namespace

MetadataIndex IndexMetadata(const QString &gamesFolder, const std::vector<GameMetadata> &entries)
{
    MetadataIndex index;
    index.byPath.reserve(qsizetype(entries.size()));
    index.byName.reserve(qsizetype(entries.size()));
    for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
        const GameMetadata &entry = entries[size_t(i)];
        const QString path = pathKey(gamesFolder, entry.path().toString());
        if (!path.isEmpty() && !index.byPath.contains(path))
            index.byPath.insert(path, i);
        const QString name = nameKey(entry.name());
        if (!name.isEmpty() && !index.byName.contains(name))
            index.byName.insert(name, i);
    }
    return index;
}

qsizetype MatchMetadata(const MetadataIndex &index, const MetadataQuery &game)
{
    const QString path = pathKey(game.gamesFolder, game.zipped ? game.archive : game.file);
    if (!path.isEmpty()) {
        const auto found = index.byPath.constFind(path);
        if (found != index.byPath.cend())
            return *found;
    }
    const QString name = nameKey(game.name);
    if (name.isEmpty())
        return -1;
    return index.byName.value(name, -1);
}

} // namespace zanku
