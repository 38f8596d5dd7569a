#include "ZipFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtEndian>

#include <zip.h>
#include <zlib.h>

#include <sys/stat.h>

bool MakeZip(const QString &path, const QList<ZipMember> &members, const QByteArray &comment)
{
    int error = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    bool ok = true;
    for (const ZipMember &member : members) {
        zip_int64_t index = -1;
        if (member.folder) {
            index = zip_dir_add(archive, member.name.constData(), 0);
        } else {
            zip_source_t *source = zip_source_buffer(archive, member.data.constData(),
                                                     zip_uint64_t(member.data.size()), 0);
            index = source ? zip_file_add(archive, member.name.constData(), source, 0) : -1;
            if (index < 0 && source)
                zip_source_free(source);
        }
        if (index < 0) {
            ok = false;
            break;
        }
        const auto at = zip_uint64_t(index);
        if (!member.folder)
            ok = ok && zip_set_file_compression(archive, at, member.method, 0) == 0;
        if (member.encryption != 0)
            ok = ok && zip_file_set_encryption(archive, at, zip_uint16_t(member.encryption),
                                               "secret") == 0;
        if (member.symlink)
            ok = ok && zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX,
                                                        zip_uint32_t(S_IFLNK | 0777) << 16) == 0;
        if (member.mtime != 0)
            ok = ok && zip_file_set_mtime(archive, at, member.mtime, 0) == 0;
    }
    if (ok && !comment.isEmpty())
        ok = zip_set_archive_comment(archive, comment.constData(), zip_uint16_t(comment.size())) ==
             0;
    if (!ok) {
        zip_discard(archive);
        return false;
    }
    return zip_close(archive) == 0;
}

QByteArray RawDeflate(const QByteArray &data)
{
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

namespace {

void put16(QByteArray &out, quint32 value)
{
    char bytes[2];
    qToLittleEndian(quint16(value), bytes);
    out.append(bytes, 2);
}
void put32(QByteArray &out, quint64 value)
{
    char bytes[4];
    qToLittleEndian(quint32(value), bytes);
    out.append(bytes, 4);
}
void put64(QByteArray &out, quint64 value)
{
    char bytes[8];
    qToLittleEndian(value, bytes);
    out.append(bytes, 8);
}

} // namespace

QByteArray RawZip(const QList<RawMember> &members, bool zip64, const QByteArray &comment)
{
    QByteArray body;
    QByteArray central;
    for (const RawMember &m : members) {
        const QByteArray data = m.deflate ? RawDeflate(m.data) : m.data;
        const quint64 size = m.declaredSize >= 0 ? quint64(m.declaredSize) : quint64(m.data.size());
        const quint32 crc =
            m.declaredCrc >= 0
                ? quint32(m.declaredCrc)
                : quint32(crc32(0, reinterpret_cast<const Bytef *>(m.data.constData()),
                                uInt(m.data.size())));
        const int method = m.method >= 0 ? m.method : (m.deflate ? 8 : 0);
        const quint32 flags = (m.utf8Flag ? 0x800 : 0) | (m.descriptor ? 0x8 : 0);
        const quint32 dosTime = quint32(m.hour << 11 | m.minute << 5);
        const quint32 dosDate = quint32((m.year - 1980) << 9 | m.month << 5 | m.day);
        const quint64 offset = quint64(body.size());

        // Local header.
        put32(body, 0x04034b50);
        put16(body, zip64 ? 45 : 20);
        put16(body, flags);
        put16(body, quint32(method));
        put16(body, dosTime);
        put16(body, dosDate);
        put32(body, m.descriptor ? 0 : crc);
        put32(body, m.descriptor ? 0 : (zip64 ? 0xffffffff : quint64(data.size())));
        put32(body, m.descriptor ? 0 : (zip64 ? 0xffffffff : size));
        put16(body, quint32(m.name.size()));
        put16(body, zip64 ? 20 : 0);
        body.append(m.name);
        if (zip64) {
            put16(body, 1);
            put16(body, 16);
            put64(body, m.descriptor ? 0 : size);
            put64(body, m.descriptor ? 0 : quint64(data.size()));
        }
        body.append(data);
        if (m.descriptor) {
            put32(body, 0x08074b50);
            put32(body, crc);
            if (zip64) {
                put64(body, quint64(data.size()));
                put64(body, size);
            } else {
                put32(body, quint64(data.size()));
                put32(body, size);
            }
        }

        // Central directory record.
        put32(central, 0x02014b50);
        put16(central, 0x0300 | (zip64 ? 45 : 20));
        put16(central, zip64 ? 45 : 20);
        put16(central, flags);
        put16(central, quint32(method));
        put16(central, dosTime);
        put16(central, dosDate);
        put32(central, crc);
        put32(central, zip64 ? 0xffffffff : quint64(data.size()));
        put32(central, zip64 ? 0xffffffff : size);
        put16(central, quint32(m.name.size()));
        put16(central, zip64 ? 28 : 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, quint64(0100644) << 16);
        put32(central, zip64 ? 0xffffffff : offset);
        central.append(m.name);
        if (zip64) {
            put16(central, 1);
            put16(central, 24);
            put64(central, size);
            put64(central, quint64(data.size()));
            put64(central, offset);
        }
    }
    QByteArray out = body + central;
    const quint64 count = quint64(members.size());
    if (zip64) {
        const quint64 end64 = quint64(out.size());
        put32(out, 0x06064b50);
        put64(out, 44);
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        put64(out, count);
        put64(out, count);
        put64(out, quint64(central.size()));
        put64(out, quint64(body.size()));
        put32(out, 0x07064b50);
        put32(out, 0);
        put64(out, end64);
        put32(out, 1);
    }
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, zip64 ? 0xffff : count);
    put16(out, zip64 ? 0xffff : count);
    put32(out, zip64 ? 0xffffffff : quint64(central.size()));
    put32(out, zip64 ? 0xffffffff : quint64(body.size()));
    put16(out, quint32(comment.size()));
    out.append(comment);
    return out;
}

bool WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList Tree(const QString &directory)
{
    QStringList entries;
    const QDir root(directory);
    QDirIterator it(directory,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString entry = root.relativeFilePath(info.filePath());
        if (info.isDir() && !info.isSymLink())
            entry += QLatin1Char('/');
        entries.append(entry);
    }
    entries.sort();
    return entries;
}
