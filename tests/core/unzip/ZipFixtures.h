#pragma once

#include <QByteArray>
#include <QStringList>

// Archives made byte by byte, so every layout is at hand.
struct RawMember {
    QByteArray name;
    QByteArray data; // uncompressed
    bool deflate = true;
    bool utf8Flag = false;     // general purpose bit 11
    bool descriptor = false;   // sizes and CRC after the data (bit 3)
    int method = -1;           // written instead of 8/0 when not -1
    qint64 declaredSize = -1;  // written instead of the real size when not -1
    qint64 declaredCrc = -1;   // written instead of the real CRC when not -1
    bool encrypted = false;    // bit 0 set (the data is not really encrypted)
    bool symlink = false;      // a Unix link to data
    QByteArray localName = {}; // written in the local header instead of name when set
};

// The archive; zip64 gives every member and the end records zip64 form.
QByteArray RawZip(const QList<RawMember> &members, bool zip64 = false,
                  const QByteArray &comment = {});
bool WriteFile(const QString &path, const QByteArray &content);
inline bool MakeZip(const QString &path, const QList<RawMember> &members)
{
    return WriteFile(path, RawZip(members));
}
QByteArray ReadFile(const QString &path);
// Every entry under the directory, relative, sorted; folders end in "/".
QStringList Tree(const QString &directory);
