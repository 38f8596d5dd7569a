#pragma once

#include <QString>

// Extracts a 7-Zip or RAR archive through libarchive by the zip engine's rules: the same
// statuses (UnzipStatus), names checked alike (nothing absolute, no ".."), no link, device
// or FIFO ever made, every file written under a temporary name and renamed into place
// once libarchive has checked it, and the room the members declare looked for first.
int ExtractWithLibArchive(const QString &archivePath, const QString &extractDir);
