#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

class ArchiveFile;

// One member as the archive's central directory describes it, checked against its local
// header. The one account of a member the engine extracts by: its name, method, sizes,
// CRC and where its data lies all come from here.
struct ZipEntry {
    QByteArray rawName; // as stored; decoded by the flag of bit 11
    quint16 flags = 0;  // general purpose bits: 0 encrypted, 3 data descriptor, 11 UTF-8
    quint16 method = 0;
    quint32 crc = 0;
    quint64 compressedSize = 0;
    quint64 size = 0;
    quint64 dataOffset = 0; // where the stored or compressed bytes start
    quint8 system = 0;      // the high byte of "version made by"
    quint32 attributes = 0; // external attributes
    // 0 when the entry can be read; otherwise the status it gets and why.
    int problem = 0;
    QString why;

    bool encrypted() const { return (flags & 1) != 0 || method == 99; }
};

// Reads the central directory (zip64 where present) and every member's local header. A
// member whose local header disagrees with its entry (name, method, and sizes and CRC
// where the header holds them) gets problem 3; one whose data lies past the end of the
// file, problem 51. Returns 0, or the status of a directory that cannot be read at all
// (3), with the reason.
int ReadZipDirectory(const ArchiveFile &file, std::vector<ZipEntry> &entries, QString &why);

// The message of a member whose local header and directory entry disagree.
inline constexpr char DisagreeText[] =
    QT_TRANSLATE_NOOP("Core", "the archive's directory and its entries disagree");
