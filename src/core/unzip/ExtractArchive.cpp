#include "core/unzip/LibArchiveExtract.h"
#include "core/unzip/LibArchiveReader.h"
#include "core/unzip/VBUnzBas.h"

// Zip archives stay on the program's own engine, the fastest for them; 7-Zip and RAR go
// through libarchive.
int ExtractArchive(const QString &archivePath, const QString &extractDir)
{
    return IsLibArchiveName(archivePath) ? ExtractWithLibArchive(archivePath, extractDir)
                                         : UnzipArchive(archivePath, extractDir);
}
