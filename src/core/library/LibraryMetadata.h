#pragma once

#include "core/common/BackgroundWork.h"
#include "core/metadata/GameMetadata.h"
#include "core/metadata/MetadataSources.h"
#include "core/records/Records.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

namespace zanku {

class Library;

// What a read of every emulator's metadata gives, by catalogue slot.
struct MetadataTable {
    // By slot: the game's entry, or an empty one. The entry's source rides in the high bits
    // of its description offset (a file is at most 256 MB): 64 bytes a game in all.
    std::vector<GameMetadata> bySlot;
    std::vector<MetadataSource> sources;
    QStringList problems;
};

// What the reading needs of a catalogue, copied: the work never touches the library.
struct MetadataCatalogue {
    std::vector<EmulatorRecord> emulators; // by slot, slot 0 empty
    std::vector<GameRecord> games;         // by slot, slot 0 empty
    QString programDir;
    QString home;
};

// Reads and matches; stops early, with nothing, once `stale` says so.
MetadataTable ReadCatalogueMetadata(const MetadataCatalogue &catalogue,
                                    const std::function<bool()> &stale = {});

// The details other programs keep of the library's games (see MetadataSourcesOf), read off
// the main thread once started and after each read of the catalogue; a result for a
// catalogue read since is dropped. Descriptions stay in their files until asked for.
class LibraryMetadata : public QObject {
    Q_OBJECT
public:
    explicit LibraryMetadata(const Library &library, QObject *parent = nullptr);

    // Reading begins, now and at each catalogue read: not before the window has shown.
    void start();
    // The catalogue was read: its slots name other games; what was known is dropped.
    void catalogueRead();
    // Whether a read is under way.
    bool reading() const { return reading_; }

    // The game's details; nullptr when none are known.
    const GameMetadata *of(int slot) const;
    // Its description, read from its file now; empty when it has none.
    QString description(int slot) const;
    // The file its details came from; empty when none.
    QString sourceOf(int slot) const;
    // Its first picture (image, thumbnail, marquee) that is a file; empty when none.
    QString pictureOf(int slot) const;
    // The pictures its details name, absolute, in that order, without looking at the disk.
    QStringList picturesNamed(int slot) const;
    // Whether any game has a year, a genre.
    bool anyYear() const { return anyYear_; }
    bool anyGenre() const { return anyGenre_; }
    bool anyDetails() const { return anyDetails_; }
    size_t memoryUsed() const;

signals:
    void changed();
    // A file read only up to a fault: which, where, and why; told once.
    void readProblem(const QString &text);

private:
    void read();
    const MetadataSource *sourceAt(int slot) const;

    const Library &library_;
    bool started_ = false;
    bool reading_ = false;
    bool anyYear_ = false;
    bool anyGenre_ = false;
    bool anyDetails_ = false;
    MetadataTable table_;
    QSet<QString> told_;
    BackgroundWork work_{this};
};

} // namespace zanku
