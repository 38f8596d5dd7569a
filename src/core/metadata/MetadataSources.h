#pragma once

#include "core/metadata/GameMetadata.h"
#include "core/metadata/MetadataMatch.h"

#include <QString>

#include <vector>

namespace zanku {

class EmulatorPlaces;

// A file of another program that describes an emulator's games: read, never written.
struct MetadataSource {
    enum Format : quint8 { Gamelist, Pegasus };
    QString file;   // absolute
    QString folder; // what its paths are taken from: the games it describes
    Format format = Gamelist;
};

// The files that describe the games of an emulator, first the one whose word counts: a
// "gamelist.xml" in its Games Directory, then in its Zipped Rom Path, then
// "metadata.pegasus.txt" (else "metadata.txt") in its Games Directory. Where those folders
// hold none, the gamelists ES-DE and EmulationStation keep under `home` for a system named
// like the Games Directory's own folder. Only regular files count.
std::vector<MetadataSource> MetadataSourcesOf(const EmulatorPlaces &places, const QString &home);

MetadataRead ReadMetadataSource(const MetadataSource &source);

// A path an entry names (a picture's), absolute: "~/" from `home`, a relative one from the
// source's folder.
QString MetadataPath(const MetadataSource &source, QStringView path, const QString &home);

// Every source of one emulator read and indexed, for matching its games.
struct EmulatorMetadata {
    struct Read {
        MetadataSource source;
        std::vector<GameMetadata> entries;
        MetadataIndex index;
    };
    std::vector<Read> reads;
    QStringList problems; // a file that could not be read whole: where and why

    EmulatorMetadata(const EmulatorPlaces &places, const QString &home);
    // The entry describing this game (File, archive when zipped, else its Name), and the
    // place of the source it came from; nullptr when none does.
    const GameMetadata *match(const QString &file, const QString &archive, const QString &name,
                              int *source = nullptr) const;
};

} // namespace zanku
