#include "ZipFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtEndian>

#include <zlib.h>

namespace {

QByteArray rawDeflate(const QByteArray &data)
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

// Appends little-endian fields given as width, value, width, value...
void put(QByteArray &out, std::initializer_list<quint64> fields)
{
    for (auto it = fields.begin(); it != fields.end(); it += 2) {
        for (quint64 i = 0; i < it[0]; ++i)
            out.append(char(it[1] >> (8 * i)));
    }
}

} // namespace

QByteArray RawZip(const QList<RawMember> &members, bool zip64, const QByteArray &comment)
{
    QByteArray body, central;
    const quint64 version = zip64 ? 45 : 20, wide = 0xffffffff;
    for (const RawMember &m : members) {
        const QByteArray data = m.deflate ? rawDeflate(m.data) : m.data;
        const quint64 size = m.declaredSize >= 0 ? quint64(m.declaredSize) : quint64(m.data.size());
        const quint64 packed = quint64(data.size()), offset = quint64(body.size());
        const quint64 crc = m.declaredCrc >= 0
                                ? quint64(m.declaredCrc)
                                : crc32(0, (const Bytef *)m.data.constData(), uInt(m.data.size()));
        const quint64 method = m.method >= 0 ? m.method : (m.deflate ? 8 : 0);
        const quint64 flags = (m.utf8Flag ? 0x800 : 0) | (m.descriptor ? 8 : 0) | m.encrypted;
        const QByteArray localName = m.localName.isEmpty() ? m.name : m.localName;
        const bool hide = m.descriptor; // sizes and CRC are in the descriptor
        // 0x2a652085: 5 March 2001, 4:04:10.
        put(body, {4, 0x04034b50,
                   2, version,
                   2, flags,
                   2, method,
                   4, 0x2a652085,
                   4, hide ? 0 : crc,
                   4, hide ? 0 : (zip64 ? wide : packed),
                   4, hide ? 0 : (zip64 ? wide : size),
                   2, quint64(localName.size()),
                   2, zip64 ? 20u : 0u});
        body.append(localName);
        if (zip64)
            put(body, {4, 0x00100001, 8, hide ? 0 : size, 8, hide ? 0 : packed});
        body.append(data);
        if (m.descriptor)
            put(body, {4, 0x08074b50, 4, crc, zip64 ? 8u : 4u, packed, zip64 ? 8u : 4u, size});

        put(central, {4, 0x02014b50,
                      2, 0x0300 | version,
                      2, version,
                      2, flags,
                      2, method,
                      4, 0x2a652085,
                      4, crc,
                      4, zip64 ? wide : packed,
                      4, zip64 ? wide : size,
                      2, quint64(m.name.size()),
                      2, zip64 ? 28u : 0u,
                      6, 0,
                      4, quint64(m.symlink ? 0120777 : 0100644) << 16,
                      4, zip64 ? wide : offset});
        central.append(m.name);
        if (zip64)
            put(central, {4, 0x00180001, 8, size, 8, packed, 8, offset});
    }
    QByteArray out = body + central;
    const quint64 count = quint64(members.size()), end64 = quint64(out.size());
    if (zip64)
        put(out, {4, 0x06064b50,
                  8, 44,
                  4, 0x002d002d,
                  8, 0,
                  8, count,
                  8, count,
                  8, quint64(central.size()),
                  8, quint64(body.size()),
                  4, 0x07064b50,
                  4, 0,
                  8, end64,
                  4, 1});
    put(out, {4, 0x06054b50, 4, 0, 2, zip64 ? 0xffff : count, 2, zip64 ? 0xffff : count, 4,
              zip64 ? wide : quint64(central.size()), 4, zip64 ? wide : quint64(body.size()), 2,
              quint64(comment.size())});
    return out + comment;
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
    QDirIterator it(directory,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const bool folder = info.isDir() && !info.isSymLink();
        entries.append(QDir(directory).relativeFilePath(info.filePath()) + (folder ? "/" : ""));
    }
    entries.sort();
    return entries;
}
