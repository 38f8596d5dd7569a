#include "core/catalogue/PresenceIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

QString FileNameKey(const QString &name)
{
#ifdef Q_OS_WIN
    return name.toCaseFolded();
#else
    return name;
#endif
}

namespace {
bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}

// The names in a directory; empty when it cannot be read.
QSet<QString> readDirectory(const QString &directory)
{
    QSet<QString> names;
#ifdef Q_OS_UNIX
    // Straight from the directory: a file information record per entry would cost
    // many times more than the name.
    DIR *stream = opendir(QFile::encodeName(directory).constData());
    if (stream == nullptr)
        return names;
    while (const dirent *entry = readdir(stream)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        names.insert(QFile::decodeName(name));
    }
    closedir(stream);
#else
    const QStringList entries = QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.reserve(entries.size());
    for (const QString &entry : entries)
        names.insert(FileNameKey(entry));
#endif
    return names;
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

    const QString folder = lastSeparator < 0    ? QString()
                           : lastSeparator == 0 ? path.left(1)
                                                : path.left(lastSeparator);
    return listing(base, folder).contains(FileNameKey(leaf));
}

const QSet<QString> &PresenceIndex::listing(const QString &base, const QString &folder)
{
    const QString name = base + QChar(0) + folder;
    if (const auto known = byName_.find(name); known != byName_.end())
        return *known->second;

    const QString directory = QDir::cleanPath(
        QDir(base).absoluteFilePath(folder.isEmpty() ? QStringLiteral(".") : folder));
    auto listed = listings_.find(directory);
    if (listed == listings_.end())
        listed = listings_.emplace(directory, readDirectory(directory)).first;
    byName_.emplace(name, &listed->second);
    return listed->second;
}
