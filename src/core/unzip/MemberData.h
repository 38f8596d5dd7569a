#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

#include <zip.h>

class ArchiveFile;
struct ZipEntry;

// Buffers one extraction reuses for every member.
struct MemberBuffers {
    MemberBuffers();
    std::unique_ptr<unsigned char[]> in;  // raw data read from the archive
    std::unique_ptr<unsigned char[]> out; // inflated data
};

// Each copies one member's data into the temporary file out and checks it against the
// entry's declared size and CRC. Returns 0, or a status with the reason: 2 bad CRC, 3
// damaged data or a size other than declared, 50 a write error, 51 the archive ended
// early (it may have been shortened while being read).

// A stored member: copied inside the kernel where the system allows it.
int CopyStored(const ArchiveFile &file, const ZipEntry &entry, int out, MemberBuffers &buffers,
               QString &why);
// A deflated member, inflated here with large buffers.
int CopyDeflated(const ArchiveFile &file, const ZipEntry &entry, int out, MemberBuffers &buffers,
                 QString &why);
// Any other method (never an encrypted member): libzip decodes and checks.
int CopyThroughLibzip(zip_t *archive, zip_uint64_t index, quint64 size, int out,
                      MemberBuffers &buffers, QString &why);
