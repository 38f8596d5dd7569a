#include "ArchiveFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

namespace {

constexpr time_t When = 983765050; // 5 March 2001, 4:04:10 UTC

la_ssize_t append(archive *, void *data, const void *buffer, size_t size)
{
    static_cast<QByteArray *>(data)->append(static_cast<const char *>(buffer), qsizetype(size));
    return la_ssize_t(size);
}

mode_t typeOf(char type)
{
    const QByteArray types("fdlpc");
    const mode_t modes[] = {AE_IFREG, AE_IFREG, AE_IFDIR, AE_IFLNK, AE_IFIFO, AE_IFCHR};
    return modes[types.indexOf(type) + 1];
}

// Appends little-endian fields given as width, value, width, value...
void put(QByteArray &out, std::initializer_list<quint64> fields)
{
    for (auto it = fields.begin(); it != fields.end(); it += 2) {
        for (quint64 i = 0; i < it[0]; ++i)
            out.append(char(it[1] >> (8 * i)));
    }
}

// A RAR 4 block: its header CRC (the low 16 bits of the CRC-32 of the rest) first.
QByteArray block(const QByteArray &rest)
{
    QByteArray out;
    put(out, {2, crc32(0, (const Bytef *)rest.data(), uInt(rest.size())) & 0xffff});
    return out + rest;
}

} // namespace

QByteArray SevenZip(const QList<ArchiveEntry> &entries, bool stored)
{
    QByteArray bytes;
    archive *writer = archive_write_new();
    archive_write_set_format_7zip(writer);
    archive_write_set_format_option(writer, "7zip", "compression", stored ? "store" : "lzma2");
    archive_write_set_bytes_in_last_block(writer, 1); // no padding after the archive
    archive_write_open2(writer, &bytes, nullptr, append, nullptr, nullptr);
    for (const ArchiveEntry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.name.constData());
        archive_entry_set_filetype(entry, typeOf(e.type));
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_mtime(entry, When, 0);
        if (e.type == 'l')
            archive_entry_set_symlink(entry, e.data.constData());
        if (e.type == 'f')
            archive_entry_set_size(entry, e.data.size());
        if (archive_write_header(writer, entry) != ARCHIVE_OK)
            qFatal("7-Zip writer: %s", archive_error_string(writer));
        if (e.type == 'f')
            archive_write_data(writer, e.data.constData(), size_t(e.data.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    return bytes;
}

QByteArray Rar4(const QList<ArchiveEntry> &entries)
{
    QByteArray out("Rar!\x1a\x07\x00", 7); // the marker block
    QByteArray main;
    put(main, {1, 0x73, 2, 0, 2, 13, 2, 0, 4, 0});
    out += block(main);
    const quint64 dosTime = 0x2a652085; // the same moment, local time as RAR keeps it
    for (const ArchiveEntry &e : entries) {
        const QByteArray &data = e.data; // a link's data is its target
        const quint64 crc = crc32(0, (const Bytef *)data.data(), uInt(data.size()));
        const quint64 mode = typeOf(e.type) | (e.type == 'd' ? 0755 : 0644);
        // 0x8000: the data size follows; 0xe0: a folder; 4: encrypted.
        const quint64 flags = 0x8000 | (e.type == 'd' ? 0xe0 : 0) | (e.encrypted ? 4 : 0);
        QByteArray header;
        put(header, {1, 0x74,
                     2, flags,
                     2, quint64(32 + e.name.size()),
                     4, quint64(data.size()),
                     4, quint64(data.size()),
                     1, 3,
                     4, crc,
                     4, dosTime,
                     1, 20,
                     1, 0x30,
                     2, quint64(e.name.size()),
                     4, mode});
        out += block(header + e.name) + data;
    }
    QByteArray end;
    put(end, {1, 0x7b, 2, 0x4000, 2, 7});
    return out + block(end);
}

QByteArray SevenZipCommand(const QStringList &options, const QList<ArchiveEntry> &files)
{
    QTemporaryDir dir;
    QStringList names;
    for (const ArchiveEntry &e : files) {
        QFile file(dir.filePath(QString::fromUtf8(e.name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(e.data) != e.data.size())
            qFatal("cannot write %s", e.name.constData());
        names << QString::fromUtf8(e.name);
    }
    QProcess sevenZip;
    sevenZip.setWorkingDirectory(dir.path());
    sevenZip.start("7z", QStringList{"a", "-bd", "out.7z"} + options + names);
    if (!sevenZip.waitForFinished(60000) || sevenZip.exitCode() != 0)
        qFatal("7z a failed: %s", sevenZip.readAll().constData());
    QFile archive(dir.filePath("out.7z"));
    archive.open(QIODevice::ReadOnly);
    return archive.readAll();
}
