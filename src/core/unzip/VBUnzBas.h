#pragma once

#include "core/unzip/UnzipRecords.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

// The extraction bridge: the program's only way to read zip archives. The launch fills
// the globals below, then calls UnzipArchive once per archive.

// Status numbers of an extraction, the exit codes command-line unzip tools have long
// documented, so a player can look a number up.
enum UnzipStatus {
    UnzipOk = 0,
    UnzipWarning = 1,        // done, but some members were skipped (encrypted, unsafe...)
    UnzipFormatError = 2,    // a format error in the archive (bad CRC, for one)
    UnzipSevereError = 3,    // corrupt data, a directory that disagrees with its entries
    UnzipNotFound = 9,       // archive not found, or not a zip archive
    UnzipDiskFull = 50,      // not enough room on the target volume, or a write error
    UnzipUnexpectedEnd = 51, // the archive ends too early (truncated)
    UnzipUnsupported = 81,   // unsupported compression method or encryption
    UnzipAllEncrypted = 82,  // nothing extracted: every member was encrypted
};

inline constexpr int UnzipNameSlots = 100;

// Members to extract and members to skip, handed on with their counts. The launch passes
// 0 for both, and the engine extracts every member whatever the tables hold.
extern std::array<QString, UnzipNameSlots> IncludeNames;
extern std::array<QString, UnzipNameSlots> ExcludeNames;
extern QString CrLf;         // line end of UnzipListing; the launch sets "\r\n"
extern QString UnzipText;    // everything the print callback received
extern QString UnzipListing; // the listing the message callback builds
extern int UnzipListCount;   // member lines in UnzipListing

// The records of the last call, filled anew by every call.
extern UnzipOptions UnzipOptionRecord;
extern UnzipCallbacks UnzipCallbackRecord;

// Extracts (or lists) the archive. Returns the status; when it is not 0, the status
// number is also shown in a message box titled "Zanku".
int UnzipArchive(const QString &archivePath, const QString &extractDir, int askBeforeOverwrite,
                 int overwrite, int listOnly, int recreateFolders, int includeCount,
                 int excludeCount);

// The bridge's four callbacks.
int UnzipPrint(const QString &text);
int UnzipReplace(const QString &fileName);
int UnzipPassword(QString &password, const QString &prompt, const QString &memberName);
void UnzipMessage(quint64 uncompressedSize, quint64 compressedSize, int compressionFactor,
                  int month, int day, int year, int hour, int minute, char flag,
                  const QString &memberName, const QString &methodName, quint32 crc,
                  bool encrypted);

// Bytes available to the program on the volume that holds a directory (which exists),
// or a negative number when unknown. Tests replace it; the default asks QStorageInfo.
using FreeSpaceProbe = std::function<qint64(const QString &directory)>;
FreeSpaceProbe SetFreeSpaceProbe(FreeSpaceProbe probe); // returns the one it replaces
