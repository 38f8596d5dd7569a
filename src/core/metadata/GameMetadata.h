#pragma once

#include <QString>
#include <vector>

namespace zanku {

// What another program already knows about one game, read from its own file and never
// written back. The description stays in that file: only where it lies is kept, so that a
// large collection costs no more memory than its short texts.
struct GameMetadata {
    enum DescriptionForm : quint8 { NoDescription, XmlUtf8, XmlLatin1, Pegasus };

    QString path; // the game's file as the entry names it, matched against ours
    QString name;
    QString date; // the release date as written; year() reads its first four digits
    QString developer;
    QString publisher;
    QString genre;
    QString players;
    QString rating; // as written: "0.8" in a gamelist, "80%" in a Pegasus file
    QString image;
    QString thumbnail;
    QString marquee;
    qint64 descriptionOffset = 0; // bytes into the file read
    qint64 descriptionLength = 0;
    DescriptionForm descriptionForm = NoDescription;

    int year() const;
};

// What a reader found: every game up to the first fault, and the fault's place.
struct MetadataRead {
    std::vector<GameMetadata> games;
    QString error; // empty when the whole file was read
    qint64 line = 0;

    bool ok() const { return error.isEmpty(); }
};

// Files larger than this are refused unread.
constexpr qint64 MetadataMaxBytes = 256LL * 1024 * 1024;

// An EmulationStation "gamelist.xml". A document type declaration stops the reading: its
// entities are never expanded nor fetched.
MetadataRead ReadGamelist(const QString &path, qint64 maxBytes = MetadataMaxBytes);

// A Pegasus "metadata.pegasus.txt" or "metadata.txt". A game naming several files gives an
// entry for each.
MetadataRead ReadPegasusMetadata(const QString &path, qint64 maxBytes = MetadataMaxBytes);

// The description of `game`, read again from `path`, the file it was read from.
QString ReadDescription(const QString &path, const GameMetadata &game);

} // namespace zanku
