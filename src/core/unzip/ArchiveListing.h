#pragma once

#include "core/unzip/ArchiveFile.h"
#include "core/unzip/UnzipNames.h"
#include "core/unzip/ZipDirectory.h"

#include <QString>

#include <ctime>
#include <memory>
#include <vector>

#include <zip.h>

struct ZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};

// One member of the archive as the engine extracts it.
struct Member {
    zip_uint64_t index = 0; // libzip's index, the same as the entry's place in the directory
    ZipEntry entry;
    QString name; // decoded by MemberName, as the import reads it
    MemberPath path;
    std::time_t mtime = -1;
    bool symlink = false;
    bool selected = true;
};

// The archive open for one extraction: the file, libzip's view of it (which decodes the
// names and the methods the engine does not read itself), and its members.
struct ArchiveListing {
    ArchiveFile file;
    std::unique_ptr<zip_t, ZipCloser> zip;
    std::vector<Member> members;

    // Opens the archive and reads its directory once (ZipDirectory); libzip must list the
    // same members, or the member (or the whole archive) is refused with status 3. A
    // member whose name is unsafe here keeps path.unsafe set. Returns 0, or the status
    // of an archive that cannot be read at all (9 missing or not a zip archive, 2 a part
    // of a multi-part archive, 3 damaged, 51 truncated), with the reason.
    int open(const QString &path, QString &why);
};
