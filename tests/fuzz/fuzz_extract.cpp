// The extraction engine on any bytes as an archive: whatever it writes lies inside the
// extraction folder and no temporary file is left behind.
#include "core/unzip/VBUnzBas.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    static const QTemporaryDir dir;
    // A small volume: members declaring huge sizes are refused before anything is written.
    static const FreeSpaceProbe small = SetFreeSpaceProbe([](const QString &) { return 1 << 26; });
    const QString deep = dir.filePath(QStringLiteral("deep")), out = deep + QStringLiteral("/out");
    QFile file(dir.filePath(QStringLiteral("game.zip")));
    if (!file.open(QIODevice::WriteOnly) || file.write((const char *)data, qint64(size)) < 0)
        __builtin_trap();
    file.close();
    UnzipArchive(file.fileName(), out);
    QDirIterator it(dir.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!(path == file.fileName() || path == deep || path == out ||
              path.startsWith(out + '/')) ||
            path.endsWith(QLatin1String(".part")))
            __builtin_trap();
    }
    QDir(deep).removeRecursively();
    return 0;
}
