#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The files an archive holds, as its central directory lists them: nothing is
// decompressed, so listing thousands of archives stays cheap.
struct ArchiveMember {
    QString name;         // path inside the archive, "/" between folders
    uint64_t size = 0;    // uncompressed size in bytes
    bool symlink = false; // a link (or a device, a FIFO), which the extraction does not create
};

struct ArchiveMemberList {
    std::vector<ArchiveMember> members; // files only, in directory order
    QString error;                      // why the archive could not be read; empty when it could
};

// Zip archives through libzip; 7-Zip and RAR ones (by their extension) through libarchive.
ArchiveMemberList ReadArchiveMembers(const QString &archivePath);
