#pragma once

#include "core/unzip/UnzipRecords.h"

#include <QString>

// The extraction engine behind the bridge, on libzip. Extracts (or lists) every member of
// the archive the options name, and returns a status number (UnzipStatus); the include
// and exclude tables keep the bridge's shape and are not read. Every member is written under a
// temporary name in its folder and renamed into place once complete and checked; nothing is ever
// written outside the extraction directory. Fills the totals of the callback record.
int UnzipExtract(int includeCount, const QString *includeNames, int excludeCount,
                 const QString *excludeNames, const UnzipOptions &options,
                 UnzipCallbacks &callbacks);

// The free space of the volume holding the directory, through the installed probe.
qint64 UnzipFreeSpace(const QString &directory);
