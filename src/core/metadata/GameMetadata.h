#pragma once

#include <QString>
#include <array>
#include <vector>

namespace zanku {

// What another program already knows about one game, as read from its file.
struct MetadataFields {
    enum DescriptionForm : quint8 { NoDescription, XmlUtf8, XmlLatin1, Pegasus };

    QString path; // the game's file as the entry names it, matched against ours
    QString name;
    QString date; // the release date as written
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
};

// The same, kept for a whole collection: the short texts share one string, and the
// description stays in its file (only where it lies is kept), so that a game costs 64 bytes
// and its short texts. A text beyond 64 K characters in all is cut.
class GameMetadata {
public:
    using DescriptionForm = MetadataFields::DescriptionForm;
    static constexpr DescriptionForm NoDescription = MetadataFields::NoDescription;
    static constexpr DescriptionForm XmlUtf8 = MetadataFields::XmlUtf8;
    static constexpr DescriptionForm XmlLatin1 = MetadataFields::XmlLatin1;
    static constexpr DescriptionForm Pegasus = MetadataFields::Pegasus;

    GameMetadata() = default;
    explicit GameMetadata(const MetadataFields &fields);

    QStringView path() const { return text(0); }
    QStringView name() const { return text(1); }
    QStringView date() const { return text(2); }
    QStringView developer() const { return text(3); }
    QStringView publisher() const { return text(4); }
    QStringView genre() const { return text(5); }
    QStringView players() const { return text(6); }
    QStringView rating() const { return text(7); }
    QStringView image() const { return text(8); }
    QStringView thumbnail() const { return text(9); }
    QStringView marquee() const { return text(10); }
    int year() const; // the date's first four digits; 0 when they are not

private:
    static constexpr int FieldCount = 11;
    QStringView text(int field) const;

    QString texts_;
    std::array<quint16, FieldCount> ends_{};

public:
    DescriptionForm descriptionForm = NoDescription;
    qint64 descriptionOffset = 0;
    qint64 descriptionLength = 0;
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
