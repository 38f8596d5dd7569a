#pragma once

#include "core/metadata/GameMetadata.h"

#include <QHash>

namespace zanku {

// The entries of one emulator's metadata, found by their file and by their name.
struct MetadataIndex {
    QHash<QString, qsizetype> byPath; // relative to the games folder, cleaned
    QHash<QString, qsizetype> byName; // case folded
};

// `entries` as read from the files of the emulator whose Games Directory is `gamesFolder`
// (absolute). The first entry of a path or a name wins.
MetadataIndex IndexMetadata(const QString &gamesFolder, const std::vector<GameMetadata> &entries);

struct MetadataQuery {
    QString gamesFolder;
    QString file; // the game's File
    bool zipped = false;
    QString archive; // the archive's file name, for a zipped game
    QString name;    // the game's Name
};

// The position in the indexed entries of the one that describes `game`: by its file (or
// archive) first, else by its Name; -1 when none does.
qsizetype MatchMetadata(const MetadataIndex &index, const MetadataQuery &game);

} // namespace zanku
