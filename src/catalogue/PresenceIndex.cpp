#include "catalogue/PresenceIndex.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString lookupKey(const QString &name)
{
#ifdef Q_OS_WIN
    return name.toCaseFolded();
#else
    return name;
#endif
}

bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}
} // namespace

bool PresenceIndex::exists(const QString &base, const QString &path)
{
    if (path.isEmpty())
        return false;

    qsizetype lastSeparator = path.size() - 1;
    while (lastSeparator >= 0 && !isSeparator(path.at(lastSeparator)))
        --lastSeparator;
    const QString leaf = path.mid(lastSeparator + 1);
    // Names the listing cannot answer (a trailing separator, "." or "..", a drive
    // relative name) get a real test.
    if (leaf.isEmpty() || leaf == u"." || leaf == u".." || leaf.contains(u':'))
        return QFileInfo::exists(QDir(base).filePath(path));

    QString directory = base;
    if (lastSeparator >= 0) {
        const QString folder = lastSeparator == 0 ? path.left(1) : path.left(lastSeparator);
        directory = QDir(base).filePath(folder);
    }
    return listing(QDir::cleanPath(QDir(directory).absolutePath())).contains(lookupKey(leaf));
}

const QSet<QString> &PresenceIndex::listing(const QString &directory)
{
    auto found = listings_.constFind(directory);
    if (found != listings_.constEnd())
        return *found;

    QSet<QString> names;
    const QStringList entries = QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.reserve(entries.size());
    for (const QString &entry : entries)
        names.insert(lookupKey(entry));
    return *listings_.insert(directory, std::move(names));
}
