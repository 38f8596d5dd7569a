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
template <typename Listing> Listing readDirectory(const QString &directory)
{
    Listing names;
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

bool PresenceIndex::exists(const QString &base, QStringView path)
{
    if (path.isEmpty())
        return false;

    qsizetype lastSeparator = path.size() - 1;
    while (lastSeparator >= 0 && !isSeparator(path.at(lastSeparator)))
        --lastSeparator;
    const QStringView leaf = path.sliced(lastSeparator + 1);
    // Names the listing cannot answer (a trailing separator, "." or "..", a drive
    // relative name) get a real test.
    if (leaf.isEmpty() || leaf == u"." || leaf == u".." || leaf.contains(u':'))
        return QFileInfo::exists(QDir(base).filePath(path.toString()));

    const QStringView folder = lastSeparator < 0    ? QStringView()
                               : lastSeparator == 0 ? path.first(1)
                                                    : path.first(lastSeparator);
    const Listing &names = listing(base, folder);
#ifdef Q_OS_WIN
    return names.find(QStringView(FileNameKey(leaf.toString()))) != names.end();
#else
    return names.find(leaf) != names.end();
#endif
}

const PresenceIndex::Listing &PresenceIndex::listing(const QString &base, QStringView folder)
{
    for (const Recent &recent : recent_) {
        if (recent.listing != nullptr && recent.folder == folder && recent.base == base)
            return *recent.listing;
    }

    QString name = base;
    name.append(QChar(0)).append(folder);
    const Listing *found = nullptr;
    if (const auto known = byName_.find(name); known != byName_.end()) {
        found = known->second;
    } else {
        const QString directory = QDir::cleanPath(QDir(base).absoluteFilePath(
            folder.isEmpty() ? QStringLiteral(".") : folder.toString()));
        auto listed = listings_.find(directory);
        if (listed == listings_.end())
            listed = listings_.emplace(directory, readDirectory<Listing>(directory)).first;
        found = &listed->second;
        byName_.emplace(name, found);
    }
    recent_[nextRecent_] = {base, folder.toString(), found};
    nextRecent_ = (nextRecent_ + 1) % recent_.size();
    return *found;
}
