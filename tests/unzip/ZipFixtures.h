#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <ctime>

// Archives made by the tests: through libzip, and byte by byte for the layouts libzip
// does not write on request (zip64, data descriptors, chosen name flags, bad sizes).

struct ZipMember {
    QByteArray name;
    QByteArray data;
    int method = 8;        // ZIP_CM_DEFLATE; 0 stored, 12 bzip2
    int encryption = 0;    // a ZIP_EM_* method, with the password "secret"
    bool symlink = false;  // data is the link target
    bool folder = false;   // a folder entry; data unused
    std::time_t mtime = 0; // 0: leave libzip's default
};

// Writes the archive through libzip; fails the calling test on any error.
bool MakeZip(const QString &path, const QList<ZipMember> &members,
             const QByteArray &comment = QByteArray());

struct RawMember {
    QByteArray name;
    QByteArray data; // the uncompressed content
    bool deflate = true;
    bool utf8Flag = false;    // general purpose bit 11
    bool descriptor = false;  // sizes and CRC after the data (bit 3)
    int method = -1;          // written instead of 8/0 when not -1
    qint64 declaredSize = -1; // written instead of the real size when not -1
    qint64 declaredCrc = -1;  // written instead of the real CRC when not -1
    int year = 2001, month = 2, day = 3, hour = 4, minute = 5;
};

// Builds an archive in memory; zip64 gives every member and the end records zip64 form.
QByteArray RawZip(const QList<RawMember> &members, bool zip64 = false,
                  const QByteArray &comment = QByteArray());

// Raw deflate data (no zlib header) of the bytes.
QByteArray RawDeflate(const QByteArray &data);

bool WriteFile(const QString &path, const QByteArray &content);
QByteArray ReadFile(const QString &path);

// Every entry under the directory, relative, sorted; folders end in "/".
QStringList Tree(const QString &directory);
