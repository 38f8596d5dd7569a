#include "core/catalogue/PresenceIndex.h"

#include "core/catalogue/RomList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

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
// Which of ArchiveExtensions a name ends with, after a stem of at least one character; -1
// for none.
int archiveKind(QStringView name)
{
    if (name.isEmpty())
        return -1;
    for (size_t kind = 0; kind < ArchiveExtensions.size(); ++kind) {
        const QLatin1StringView extension(ArchiveExtensions[kind]);
        // The last character settles most names before a comparison is called.
        if (name.size() > extension.size() && name.back() == extension.back() &&
            name.endsWith(extension))
            return int(kind);
    }
    return -1;
}

QLatin1StringView archiveExtension(QStringView name)
{
    return QLatin1StringView(ArchiveExtensions[size_t(archiveKind(name))]);
}

bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}

// The names in a directory; empty when it cannot be read.
NameSet readDirectory(const QString &directory)
{
    NameSet names;
#ifdef Q_OS_UNIX
    // Straight from the directory: a file information record per entry would cost
    // many times more than the name. Decoded as QFile::decodeName does.
    DIR *stream = opendir(QFile::encodeName(directory).constData());
    if (stream == nullptr)
        return names;
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    while (const dirent *entry = readdir(stream)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        names.add(decoder, QByteArrayView(name));
    }
    closedir(stream);
#else
    const QStringList entries = QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &entry : entries)
        names.add(FileNameKey(entry));
#endif
    names.index();
    return names;
}
} // namespace

void NameSet::add(QStringView name)
{
    names_.append(name);
    ends_.push_back(quint32(names_.size()));
}

void NameSet::add(QStringDecoder &decoder, QByteArrayView name)
{
    // Most names are plain ASCII, which reads the same in every code page.
    if (std::all_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x80; })) {
        names_.append(QLatin1StringView(name));
        ends_.push_back(quint32(names_.size()));
        return;
    }
    const qsizetype start = names_.size();
    names_.resize(start + decoder.requiredSpace(name.size()));
    const QChar *end = decoder.appendToBuffer(names_.data() + start, name);
    names_.truncate(end - names_.constData());
    ends_.push_back(quint32(names_.size()));
}

void NameSet::index()
{
    size_t size = 16;
    while (size < ends_.size() * 2)
        size *= 2;
    slots_.assign(size, 0);
    for (size_t i = 0; i < ends_.size(); ++i) {
        size_t slot = qHash(name(i)) & (size - 1);
        while (slots_[slot] != 0)
            slot = (slot + 1) & (size - 1);
        slots_[slot] = quint32(i + 1);
    }
    std::vector<quint32> archives;
    for (size_t i = 0; i < ends_.size(); ++i) {
        if (archiveKind(name(i)) >= 0)
            archives.push_back(quint32(i));
    }
    size = 16;
    while (size < archives.size() * 2)
        size *= 2;
    stemSlots_.assign(size, 0);
    for (const quint32 i : archives) {
        const QStringView named = name(i);
        size_t slot =
            qHash(named.first(named.size() - archiveExtension(named).size())) & (size - 1);
        while (stemSlots_[slot] != 0)
            slot = (slot + 1) & (size - 1);
        stemSlots_[slot] = i + 1;
    }
}

unsigned NameSet::archivesOf(QStringView stem) const
{
    unsigned kinds = 0;
    if (stemSlots_.empty())
        return kinds;
    const size_t mask = stemSlots_.size() - 1;
    for (size_t slot = qHash(stem) & mask; stemSlots_[slot] != 0; slot = (slot + 1) & mask) {
        const QStringView named = name(stemSlots_[slot] - 1);
        const int kind = archiveKind(named);
        if (named.size() - archiveExtension(named).size() == stem.size() && named.startsWith(stem))
            kinds |= 1u << kind;
    }
    return kinds;
}

bool NameSet::contains(QStringView name) const
{
    if (slots_.empty())
        return false;
    const size_t mask = slots_.size() - 1;
    for (size_t slot = qHash(name) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        if (this->name(slots_[slot] - 1) == name)
            return true;
    }
    return false;
}

QStringView NameSet::name(size_t i) const
{
    const quint32 start = i == 0 ? 0 : ends_[i - 1];
    return QStringView(names_).sliced(start, ends_[i] - start);
}

namespace {
// Where a path's last name begins; -1 when the listing cannot answer for it (a trailing
// separator, "." or "..", a drive relative name), which then gets a real test.
qsizetype leafStart(QStringView path)
{
    qsizetype lastSeparator = path.size() - 1;
    while (lastSeparator >= 0 && !isSeparator(path.at(lastSeparator)))
        --lastSeparator;
    const QStringView leaf = path.sliced(lastSeparator + 1);
    if (leaf.isEmpty() || leaf == u"." || leaf == u".." || leaf.contains(u':'))
        return -1;
    return lastSeparator + 1;
}

QStringView folderOf(QStringView path, qsizetype leaf)
{
    return leaf == 0 ? QStringView() : leaf == 1 ? path.first(1) : path.first(leaf - 1);
}
} // namespace

bool PresenceIndex::exists(const QString &base, QStringView path)
{
    if (path.isEmpty())
        return false;
    const qsizetype leaf = leafStart(path);
    if (leaf < 0)
        return QFileInfo::exists(QDir(base).filePath(path.toString()));
    const NameSet &names = listing(base, folderOf(path, leaf));
#ifdef Q_OS_WIN
    return names.contains(FileNameKey(path.sliced(leaf).toString()));
#else
    return names.contains(path.sliced(leaf));
#endif
}

unsigned PresenceIndex::archives(const QString &base, QStringView stemPath)
{
    const qsizetype leaf = stemPath.isEmpty() ? -1 : leafStart(stemPath);
    if (leaf < 0) {
        unsigned kinds = 0; // the rare names a listing cannot answer, one kind at a time
        for (size_t kind = 0; kind < ArchiveExtensions.size(); ++kind) {
            if (exists(base, stemPath.toString() + QLatin1StringView(ArchiveExtensions[kind])))
                kinds |= 1u << kind;
        }
        return kinds;
    }
    const NameSet &names = listing(base, folderOf(stemPath, leaf));
#ifdef Q_OS_WIN
    return names.archivesOf(FileNameKey(stemPath.sliced(leaf).toString()));
#else
    return names.archivesOf(stemPath.sliced(leaf));
#endif
}

void PresenceIndex::keepOnlyWithin(const QStringList &roots)
{
    const auto within = [&roots](const QString &directory) {
        for (const QString &root : roots) {
            if (directory.startsWith(root) &&
                (directory.size() == root.size() || root.endsWith(u'/') ||
                 directory.at(root.size()) == u'/'))
                return true;
        }
        return false;
    };
    // The look-ups by name and the recent ones point into the listings: made again.
    byName_.clear();
    recent_ = {};
    std::erase_if(listings_, [&within](const auto &listed) { return !within(listed.first); });
}

const NameSet &PresenceIndex::listing(const QString &base, QStringView folder)
{
    for (const Recent &recent : recent_) {
        if (recent.listing != nullptr && recent.folder == folder && recent.base == base)
            return *recent.listing;
    }

    QString name = base;
    name.append(QChar(0)).append(folder);
    const NameSet *found = nullptr;
    if (const auto known = byName_.find(name); known != byName_.end()) {
        found = known->second;
    } else {
        const QString directory = QDir::cleanPath(QDir(base).absoluteFilePath(
            folder.isEmpty() ? QStringLiteral(".") : folder.toString()));
        auto listed = listings_.find(directory);
        if (listed == listings_.end())
            listed = listings_.emplace(directory, readDirectory(directory)).first;
        found = &listed->second;
        byName_.emplace(name, found);
    }
    recent_[nextRecent_] = {base, folder.toString(), found};
    nextRecent_ = (nextRecent_ + 1) % recent_.size();
    return *found;
}
