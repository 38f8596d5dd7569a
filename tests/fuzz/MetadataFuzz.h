#pragma once
// What holds for every file of other programs' game details, whatever its bytes.
#include "core/metadata/GameMetadata.h"
#include "core/metadata/MetadataMatch.h"

#include <QFile>
#include <QTemporaryDir>

inline int CheckMetadataReader(const unsigned char *data, size_t size,
                               zanku::MetadataRead (*reader)(const QString &, qint64))
{
    static const QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("metadata")));
    if (!file.open(QIODevice::WriteOnly) || file.write((const char *)data, qint64(size)) < 0)
        __builtin_trap();
    file.close();
    const zanku::MetadataRead read = reader(file.fileName(), zanku::MetadataMaxBytes);
    if (!read.ok() && read.line <= 0)
        __builtin_trap(); // a fault always has its line
    // Every description lies inside the file and reads back; every named entry is found by
    // its name, as the first of that name.
    const zanku::MetadataIndex index = zanku::IndexMetadata(dir.path(), read.games);
    for (const zanku::GameMetadata &game : read.games) {
        if (game.descriptionForm != zanku::GameMetadata::NoDescription &&
            (game.descriptionOffset < 0 || game.descriptionLength <= 0 ||
             game.descriptionOffset + game.descriptionLength > qint64(size)))
            __builtin_trap();
        zanku::ReadDescription(file.fileName(), game);
        const zanku::MetadataQuery query{dir.path(), QString(), false, {}, game.name().toString()};
        const qsizetype found = zanku::MatchMetadata(index, query);
        const auto key = [](QStringView name) { return name.trimmed().toString().toCaseFolded(); };
        if (!key(game.name()).isEmpty() &&
            (found < 0 || key(read.games[size_t(found)].name()) != key(game.name())))
            __builtin_trap();
    }
    return 0;
}
