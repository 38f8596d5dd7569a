#include "core/catalogue/PresenceIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

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
    const NameSet &names = listing(base, folder);
#ifdef Q_OS_WIN
    return names.contains(FileNameKey(leaf.toString()));
#else
    return names.contains(leaf);
#endif
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
