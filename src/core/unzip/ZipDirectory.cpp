#include "core/unzip/ZipDirectory.h"

#include "core/common/CoreText.h"
#include "core/unzip/ArchiveFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Little-endian fields.
quint64 le16(const unsigned char *p)
{
    return quint64(p[0]) | quint64(p[1]) << 8;
}
quint64 le32(const unsigned char *p)
{
    return le16(p) | le16(p + 2) << 16;
}
quint64 le64(const unsigned char *p)
{
    return le32(p) | le32(p + 4) << 32;
}

constexpr quint64 EndSize = 22;
constexpr quint64 Zip64LocatorSize = 20;
constexpr quint64 Zip64EndSize = 56;
constexpr quint64 CentralSize = 46;
constexpr quint64 LocalSize = 30;

// Replaces, in this order, whichever of the values are 0xffffffff by the 64-bit values of
// the zip64 extra field (id 1) among the extra fields.
void applyZip64(const unsigned char *extra, quint64 length, std::initializer_list<quint64 *> values)
{
    const unsigned char *end = extra + length;
    while (end - extra >= 4) {
        const quint64 size = le16(extra + 2);
        const unsigned char *field = extra + 4;
        if (quint64(end - field) < size)
            return;
        if (le16(extra) == 1) {
            const unsigned char *fieldEnd = field + size;
            for (quint64 *value : values) {
                if (*value == 0xffffffff && fieldEnd - field >= 8) {
                    *value = le64(field);
                    field += 8;
                }
            }
        }
        extra += 4 + size;
    }
}

struct DirectoryPlace {
    quint64 count = 0;
    quint64 offset = 0;
    quint64 size = 0;
    quint64 limit = 0; // where the records after the directory start
};

// Reads the end record at position (and the zip64 end record it points to) into place.
// False with the reason when it does not lead to a directory that lies inside the file.
bool readEndRecord(const ArchiveFile &file, const unsigned char *end, quint64 position,
                   DirectoryPlace &place, QString &why)
{
    place.limit = position;
    place.count = le16(end + 10);
    place.size = le32(end + 12);
    place.offset = le32(end + 16);
    if (place.count == 0xffff || place.size == 0xffffffff || place.offset == 0xffffffff) {
        unsigned char locator[Zip64LocatorSize];
        unsigned char end64[Zip64EndSize];
        if (place.limit < Zip64LocatorSize ||
            !file.readAt(place.limit - Zip64LocatorSize, locator, sizeof locator) ||
            std::memcmp(locator, "PK\6\7", 4) != 0) {
            why = zanku::CoreText::tr("the zip64 end record is missing");
            return false;
        }
        const quint64 at64 = le64(locator + 8);
        if (at64 > place.limit || !file.readAt(at64, end64, sizeof end64) ||
            std::memcmp(end64, "PK\6\6", 4) != 0) {
            why = zanku::CoreText::tr("the zip64 end record is damaged");
            return false;
        }
        place.limit = at64;
        place.count = le64(end64 + 32);
        place.size = le64(end64 + 40);
        place.offset = le64(end64 + 48);
    }
    unsigned char signature[4] = {};
    if (place.offset > place.limit || place.size > place.limit - place.offset ||
        place.count > place.size / CentralSize ||
        (place.count > 0 &&
         (!file.readAt(place.offset, signature, 4) || std::memcmp(signature, "PK\1\2", 4) != 0))) {
        why = zanku::CoreText::tr("the central directory lies beyond the end of the file");
        return false;
    }
    return true;
}

// Finds the end record nearest the end of the file, as unzip tools do. An archive with
// a second end record before it that also leads to a directory is refused: tools that
// choose differently would each see another archive.
bool findDirectory(const ArchiveFile &file, DirectoryPlace &place, QString &why)
{
    const quint64 size = file.size();
    const quint64 tail = std::min<quint64>(size, EndSize + 0xffff);
    QByteArray bytes(qsizetype(tail), '\0');
    const auto *base = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (size < EndSize || !file.readAt(size - tail, bytes.data(), size_t(tail))) {
        why = zanku::CoreText::tr("the archive ends too early");
        return false;
    }
    bool found = false;
    for (qint64 at = qint64(tail - EndSize); at >= 0; --at) {
        if (std::memcmp(base + at, "PK\5\6", 4) != 0)
            continue;
        DirectoryPlace other;
        QString otherWhy;
        if (!found) {
            found = true;
            if (!readEndRecord(file, base + at, size - tail + quint64(at), place, why))
                return false;
        } else if (readEndRecord(file, base + at, size - tail + quint64(at), other, otherWhy) &&
                   other.count > 0) {
            why = zanku::CoreText::tr("the archive holds two central directories");
            return false;
        }
    }
    if (!found)
        why = zanku::CoreText::tr("no central directory");
    return found;
}

// Checks the member's local header against its entry and finds where its data starts.
void checkLocalHeader(const ArchiveFile &file, quint64 localOffset, ZipEntry &entry)
{
    unsigned char header[LocalSize];
    if (localOffset > file.size() || file.size() - localOffset < LocalSize ||
        !file.readAt(localOffset, header, sizeof header)) {
        entry.problem = 51;
        entry.why = zanku::CoreText::tr("the archive ends too early");
        return;
    }
    const quint64 nameLength = le16(header + 26);
    const quint64 extraLength = le16(header + 28);
    QByteArray rest(qsizetype(nameLength + extraLength), '\0');
    const auto *extra = reinterpret_cast<const unsigned char *>(rest.constData()) + nameLength;
    entry.dataOffset = localOffset + LocalSize + nameLength + extraLength;
    if (entry.dataOffset > file.size() || entry.compressedSize > file.size() - entry.dataOffset ||
        !file.readAt(localOffset + LocalSize, rest.data(), size_t(rest.size()))) {
        entry.problem = 51;
        entry.why = zanku::CoreText::tr("the archive ends too early");
        return;
    }
    bool agrees = std::memcmp(header, "PK\3\4", 4) == 0 && le16(header + 8) == entry.method &&
                  rest.left(qsizetype(nameLength)) == entry.rawName;
    if (agrees && !(le16(header + 6) & 8)) {
        quint64 compressed = le32(header + 18);
        quint64 size = le32(header + 22);
        applyZip64(extra, extraLength, {&size, &compressed});
        agrees = le32(header + 14) == entry.crc && compressed == entry.compressedSize &&
                 size == entry.size;
    }
    if (!agrees) {
        entry.problem = 3;
        entry.why = zanku::CoreText::tr(DisagreeText);
    }
}

} // namespace

int ReadZipDirectory(const ArchiveFile &file, std::vector<ZipEntry> &entries, QString &why)
{
    entries.clear();
    DirectoryPlace place;
    if (!findDirectory(file, place, why))
        return 3;
    QByteArray directory(qsizetype(place.size), '\0');
    if (!file.readAt(place.offset, directory.data(), size_t(place.size))) {
        why = zanku::CoreText::tr("the archive ends too early");
        return 51;
    }
    const auto *base = reinterpret_cast<const unsigned char *>(directory.constData());
    entries.reserve(size_t(place.count));
    quint64 at = 0;
    for (quint64 i = 0; i < place.count; ++i) {
        const unsigned char *record = base + at;
        if (place.size - at < CentralSize || std::memcmp(record, "PK\1\2", 4) != 0) {
            why = zanku::CoreText::tr("damaged central directory");
            return 3;
        }
        const quint64 nameLength = le16(record + 28);
        const quint64 extraLength = le16(record + 30);
        const quint64 recordSize = CentralSize + nameLength + extraLength + le16(record + 32);
        if (place.size - at < recordSize) {
            why = zanku::CoreText::tr("damaged central directory");
            return 3;
        }
        ZipEntry entry;
        entry.rawName =
            QByteArray(reinterpret_cast<const char *>(record + CentralSize), qsizetype(nameLength));
        entry.system = record[5];
        entry.flags = quint16(le16(record + 8));
        entry.method = quint16(le16(record + 10));
        entry.crc = quint32(le32(record + 16));
        entry.compressedSize = le32(record + 20);
        entry.size = le32(record + 24);
        entry.attributes = quint32(le32(record + 38));
        quint64 localOffset = le32(record + 42);
        applyZip64(record + CentralSize + nameLength, extraLength,
                   {&entry.size, &entry.compressedSize, &localOffset});
        checkLocalHeader(file, localOffset, entry);
        entries.push_back(std::move(entry));
        at += recordSize;
    }
    return 0;
}
