#pragma once

#include "core/unzip/UnzipStatus.h"

#include <QString>
#include <QtGlobal>

#include <functional>

// The extraction bridge: the program's only way to extract archives.

// Extracts every member of the archive into extractDir, made when missing, as the launch
// needs it: the archive's folders are recreated, files already there are replaced without
// asking, encrypted members are skipped. Returns the status (UnzipStatus) and shows
// nothing; the caller reports a status other than UnzipOk.
int UnzipArchive(const QString &archivePath, const QString &extractDir);

// The same for any archive a zipped game may have, chosen by its extension: ".7z" and
// ".rar" (in any case) through libarchive, with the same rules and statuses, every other
// one as a zip archive by UnzipArchive.
int ExtractArchive(const QString &archivePath, const QString &extractDir);

// Bytes available to the program on the volume that holds a directory (which exists),
// or a negative number when unknown. Tests replace it; the default asks QStorageInfo.
using FreeSpaceProbe = std::function<qint64(const QString &directory)>;
FreeSpaceProbe SetFreeSpaceProbe(FreeSpaceProbe probe); // returns the one it replaces
