#pragma once

#include "core/unzip/ArchiveFile.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct archive;
struct archive_entry;

// 7-Zip and RAR archives read through libarchive, for the extraction and for the import's
// listing alike, so both see the same members under the same names. Only those formats
// are recognised: a tar or a cpio archive renamed ".7z" is not an archive here.

// Whether the archive's name ends in ".7z" or ".rar" (in any case): libarchive reads it.
bool IsLibArchiveName(const QString &archivePath);

// One archive open for reading, from its start. The file is read with pread through our
// own callbacks, never mapped, and never waited on (a FIFO in its place is refused).
class LibArchiveReader {
public:
    LibArchiveReader();
    ~LibArchiveReader();
    LibArchiveReader(const LibArchiveReader &) = delete;
    LibArchiveReader &operator=(const LibArchiveReader &) = delete;

    // Opens the archive; 0, or a status with the reason: 9 missing, not a file or not a
    // 7-Zip or RAR archive, 51 cut short, 82 its very names encrypted, 3 damaged.
    int open(const QString &path, QString &why);
    // The next entry; nullptr at the end or on an error, told apart by status (0 at the
    // end, else as failure() says).
    archive_entry *next(int &status, QString &why);
    // The status of libarchive's last error: 51 when the file ended before libarchive
    // was done with it, 82 when what it stopped on is encrypted, `otherwise` else.
    int failure(int otherwise, QString &why) const;
    archive *get() const { return archive_.get(); }

    // Callbacks' state: public for the C callbacks, not for callers.
    struct Source {
        ArchiveFile file;
        quint64 offset = 0;
        bool endReached = false; // a read came back short: the file ended there
        std::vector<char> buffer;
    };

private:
    struct Closer {
        void operator()(archive *reader) const;
    };
    std::unique_ptr<archive, Closer> archive_;
    Source source_;
};

// An entry's name as the whole program reads it; none when it cannot be decoded in this
// system's locale (libarchive decodes 7-Zip's UTF-16 names through it).
std::optional<QString> EntryName(archive_entry *entry);
