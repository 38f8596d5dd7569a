// The libarchive path (7-Zip and RAR) on any bytes as an archive: its listing for the
// import, then the extraction; whatever it writes lies inside the extraction folder, no
// temporary file is left behind, and nothing but a regular file or a folder is made.
#include "core/unzip/ArchiveMembers.h"
#include "core/unzip/VBUnzBas.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    static const QTemporaryDir dir;
    // A small volume: members declaring huge sizes are refused before anything is written.
    static const FreeSpaceProbe small = SetFreeSpaceProbe([](const QString &) { return 1 << 26; });
    const QString deep = dir.filePath(QStringLiteral("deep")), out = deep + QStringLiteral("/out");
    // Both formats are recognised by their bytes whatever the extension: ".7z" serves both.
    QFile file(dir.filePath(QStringLiteral("game.7z")));
    if (!file.open(QIODevice::WriteOnly) || file.write((const char *)data, qint64(size)) < 0)
        __builtin_trap();
    file.close();
    ReadArchiveMembers(file.fileName());
    ExtractArchive(file.fileName(), out);
    QDirIterator it(dir.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        if (!(path == file.fileName() || path == deep || path == out ||
              path.startsWith(out + '/')) ||
            path.endsWith(QLatin1String(".part")) || info.isSymLink() ||
            !(info.isFile() || info.isDir()))
            __builtin_trap();
    }
    QDir(deep).removeRecursively();
    return 0;
}
