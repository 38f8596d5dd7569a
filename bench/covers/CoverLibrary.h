#pragma once

#include "Fixture.h"

#include "core/preview/Cover.h"
#include "core/records/GameKey.h"

#include <QSize>
#include <QString>

#include <vector>

// One game as the cover view would ask for it.
struct CoverTile {
    zanku::GameKey key;
    CoverPlace place;
};

// The catalogue benchmark's library (Zanku.ini and ROM lists) with box art for some of its
// games: 1000 x 1400 pictures, half PNG in "Named_Boxarts/<label>.png", half JPEG in
// "covers/<base>.jpg". A few distinct pictures are encoded and hard-linked under every
// name, so 20,000 covers take seconds and little disk; each name is still a picture file
// of its own to the program (and to its disk cache, keyed by path).
struct CoverLibrary {
    Fixture fixture;
    std::vector<CoverTile> tiles; // every game, in ROM list order
    std::vector<int> covered;     // indices into tiles of the games with a cover
    qint64 pictureBytes = 0;      // the distinct pictures' total size
    int distinctPictures = 0;
};

// Builds it below `root` (existing and empty). False with a reason in `error` on failure.
bool BuildCoverLibrary(const QString &root, int emulators, int games, int covers, QSize pictureSize,
                       CoverLibrary &library, QString &error);
