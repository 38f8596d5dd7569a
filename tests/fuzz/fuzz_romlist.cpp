// A ".rom" list as a player might have it: any bytes, read from a file.
#include "core/catalogue/RomList.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    static const QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("games.rom")));
    if (!file.open(QIODevice::WriteOnly) || file.write((const char *)data, qint64(size)) < 0)
        __builtin_trap();
    file.close();
    // Every game read writes back as a line that reads the same.
    for (const GameRecord &game : ReadRomList(file.fileName()).records) {
        if (FormatRomLine(ParseRomLine(FormatRomLine(game))) != FormatRomLine(game))
            __builtin_trap();
    }
    return 0;
}
