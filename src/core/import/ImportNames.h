#pragma once

#include "core/catalogue/EmulatorPlaces.h"
#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/files/FileNames.h"
#include "core/import/ImportCandidate.h"

#include <QDir>
#include <QSet>

#include <QString>

#include <vector>

// Which names the import scan offers, and in what order: the names a ROM list already
// leads to, a quick filter of the names it need not offer, and the order by File, all at
// the pace of the directory listing.

namespace zanku {

// The name of `path` (relative to the emulator's directory) within `folder`, or an empty
// text when it lies elsewhere: the scan looks one level deep, so names are enough.
inline QString nameIn(const EmulatorPlaces &places, const QString &folder, const QString &path)
{
    if (path.isEmpty() || folder.isEmpty())
        return {};
    const QString full = places.resolve(path);
    const qsizetype slash = full.lastIndexOf(u'/');
    return FileNameKey(full.left(slash)) == FileNameKey(folder) ? FileNameKey(full.mid(slash + 1))
                                                                : QString();
}

// The files and archives the ROM list already leads the catalogue to, by name.
struct ListedNames {
    QSet<QString> files, archives;
    QStringList games; // the Files listed, until their archives are looked up

    // `withArchives` false: the files alone, until readArchives() is called.
    ListedNames(const EmulatorPlaces &places, const std::vector<GameRecord> &listed,
                bool withArchives = true)
    {
        const bool plainDirectory = plainFolder(places.directory());
        files.reserve(qsizetype(listed.size()));
        games.reserve(qsizetype(listed.size()));
        for (const GameRecord &game : listed) {
            files.insert(plainDirectory && plainName(game.File)
                             ? FileNameKey(game.File)
                             : nameIn(places, places.directory(), game.File));
            games.append(game.File);
        }
        files.remove(QString());
        if (withArchives)
            readArchives(places);
    }
    void readArchives(const EmulatorPlaces &places)
    {
        const bool plainZips = plainFolder(places.zippedGames());
        archives.reserve(games.size() * qsizetype(ArchiveExtensions.size()));
        for (const QString &file : std::as_const(games)) {
            for (size_t kind = 0; kind < ArchiveExtensions.size(); ++kind) {
                const QString archive =
                    StripExtension(file) + QLatin1String(ArchiveExtensions[kind]);
                archives.insert(plainZips && plainName(archive)
                                    ? FileNameKey(archive)
                                    : nameIn(places, places.zippedGames(),
                                             places.archiveOf(file, GameArchive(kind))));
            }
        }
        archives.remove(QString());
        games.clear();
    }
    // A name without a folder in it lies in the folder itself, which most do: they need
    // not be resolved.
    static bool plainFolder(const QString &folder)
    {
        return QDir::isAbsolutePath(folder) && !folder.endsWith(u'/');
    }
    static bool plainName(const QString &name)
    {
        return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
               !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':');
    }
    bool contain(const ImportCandidate &candidate) const
    {
        if (candidate.kind != ImportKind::Zip)
            return files.contains(FileNameKey(candidate.entry));
        return archives.contains(FileNameKey(candidate.entry)) ||
               files.contains(FileNameKey(candidate.file));
    }
};

// The first 16 characters of a File folded to lower case and packed, for a quick sort.
// Only keys of plain ASCII order names by themselves: a compare without regard to case
// folds some other characters to ASCII letters.
struct SortKey {
    quint64 high = 0, low = 0;
    quint32 index = 0; // of the candidate
    bool ascii = true; // the first 16 characters are
    bool whole = true; // and they are all the File has

    SortKey(const QString &file, size_t at)
        : index(quint32(at))
    {
        const qsizetype length = std::min<qsizetype>(file.size(), 16);
        const QChar *text = file.constData();
        for (qsizetype i = 0; i < length && ascii; ++i) {
            char16_t c = text[i].unicode();
            ascii = c < 0x80;
            c = c >= u'A' && c <= u'Z' ? c + 32 : c;
            (i < 8 ? high : low) |= quint64(c) << (8 * (7 - i % 8));
        }
        whole = ascii && file.size() <= 16;
    }
};

// Sorts the candidates by File. The keys are made with the candidates, while their names
// are at hand: the sort then moves only the candidates, whose names it never reads.
void SortByFile(std::vector<ImportCandidate> &candidates, std::vector<SortKey> &keys);

// A quick "surely not" before looking a name up in a set: most names are in none.
class NameFilter {
public:
    void add(const QString &name)
    {
        const quint64 hash = hashOf(name);
        bits_[(hash & Mask) / 64] |= quint64(1) << (hash % 64);
        bits_[((hash >> 32) & Mask) / 64] |= quint64(1) << ((hash >> 32) % 64);
    }
    bool mayHold(const QString &name) const
    {
        const quint64 hash = hashOf(name);
        return (bits_[(hash & Mask) / 64] >> (hash % 64) & 1) != 0 &&
               (bits_[((hash >> 32) & Mask) / 64] >> ((hash >> 32) % 64) & 1) != 0;
    }

private:
    static constexpr quint64 Mask = (1 << 17) - 1;
    static quint64 hashOf(const QString &name)
    {
        quint64 hash = 14695981039346656037ull; // FNV-1a
        for (const QChar c : name)
            hash = (hash ^ c.unicode()) * 1099511628211ull;
        return hash ^ (hash >> 29);
    }
    std::vector<quint64> bits_ = std::vector<quint64>((Mask + 1) / 64);
};

} // namespace zanku
