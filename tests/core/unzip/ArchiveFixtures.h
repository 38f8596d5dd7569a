#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// 7-Zip archives made through libarchive's writer, and RAR 4 archives made byte by byte
// (no Debian tool writes RAR), so hostile entries are at hand in both.
struct ArchiveEntry {
    QByteArray name; // UTF-8
    QByteArray data;
    char type = 'f';        // 'f' file, 'd' folder, 'l' link to data, 'p' FIFO, 'c' device
    bool encrypted = false; // RAR only: the password flag (the data is not really encrypted)
};

// A 7-Zip archive, LZMA2 (or stored: the files' bytes one after the other from offset
// 32, empty ones aside); every entry dated 5 March 2001, 4:04:10 UTC.
QByteArray SevenZip(const QList<ArchiveEntry> &entries, bool stored = false);
// A RAR 4 archive of stored (method 0x30) entries, made on Unix, dated alike.
QByteArray Rar4(const QList<ArchiveEntry> &entries);
// Runs `7z a` with these options on the files (name, content) in a fresh folder.
QByteArray SevenZipCommand(const QStringList &options, const QList<ArchiveEntry> &files);
