#include "ZipFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <zlib.h>

namespace {

// Raw deflate: qCompress's zlib stream without its length prefix, header and checksum.
QByteArray rawDeflate(const QByteArray &data)
{
    return qCompress(data).mid(6).chopped(4);
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
    const quint64 z = zip64, version = z ? 45 : 20, wide = 0xffffffff, when = 0x2a652085;
    for (const RawMember &m : members) { // when: 5 March 2001, 4:04:10
        const QByteArray data = m.deflate ? rawDeflate(m.data) : m.data;
        const quint64 size = m.declaredSize >= 0 ? quint64(m.declaredSize) : quint64(m.data.size());
        const quint64 packed = quint64(data.size()), offset = quint64(body.size());
        const quint64 crc = m.declaredCrc >= 0
                                ? quint64(m.declaredCrc)
                                : crc32(0, (const Bytef *)m.data.data(), uInt(m.data.size()));
        const quint64 method = m.method >= 0 ? m.method : (m.deflate ? 8 : 0);
        const quint64 flags = (m.utf8Flag ? 0x800 : 0) | (m.descriptor ? 8 : 0) | m.encrypted;
        const quint64 hide = m.descriptor ? 0 : ~0ull; // sizes and CRC in the descriptor
        const quint64 mode = quint64(m.symlink ? 0120777 : 0100644) << 16;
        const QByteArray localName = m.localName.isEmpty() ? m.name : m.localName;
        // Width, value pairs of each record.
        // clang-format off
        put(body, {4, 0x04034b50, 2, version, 2, flags, 2, method, 4, when, 4, hide & crc,
                   4, hide & (z ? wide : packed), 4, hide & (z ? wide : size),
                   2, quint64(localName.size()), 2, z * 20});
        body.append(localName);
        if (zip64)
            put(body, {4, 0x00100001, 8, hide & size, 8, hide & packed});
        body.append(data);
        if (m.descriptor)
            put(body, {4, 0x08074b50, 4, crc, 4 + 4 * z, packed, 4 + 4 * z, size});
        put(central, {4, 0x02014b50, 2, 0x0300 | version, 2, version, 2, flags, 2, method,
                      4, when, 4, crc, 4, z ? wide : packed, 4, z ? wide : size,
                      2, quint64(m.name.size()), 2, z * 28, 6, 0, 4, mode, 4, z ? wide : offset});
        central.append(m.name);
        if (zip64)
            put(central, {4, 0x00180001, 8, size, 8, packed, 8, offset});
    }
    QByteArray out = body + central;
    const quint64 count = quint64(members.size()), end64 = quint64(out.size());
    const quint64 cdSize = quint64(central.size()), cdOffset = quint64(body.size());
    if (zip64)
        put(out, {4, 0x06064b50, 8, 44, 4, 0x002d002d, 8, 0, 8, count, 8, count, 8, cdSize,
                  8, cdOffset, 4, 0x07064b50, 4, 0, 8, end64, 4, 1});
    put(out, {4, 0x06054b50, 4, 0, 2, z ? 0xffff : count, 2, z ? 0xffff : count,
              4, z ? wide : cdSize, 4, z ? wide : cdOffset, 2, quint64(comment.size())});
    // clang-format on
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
