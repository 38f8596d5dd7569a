#pragma once

#include <QString>

// 7-Zip archives (LZMA2) extracted by ExtractArchive, through libarchive, beside the
// `7z x` command of p7zip-full: (d) one 64 MiB game, (e) 3,000 files of 33 KB.

// Makes the archives in the directory with `7z a` (deterministic content; kept if present).
bool MakeSevenZipArchives(const QString &directory);
// Prints their table, the median of `runs` after a warm-up run; false when a run failed.
bool MeasureSevenZip(const QString &directory, int runs);
