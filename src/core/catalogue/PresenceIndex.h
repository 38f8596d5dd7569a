#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <array>
#include <unordered_map>
#include <vector>

// A name or path as the file system compares it: ignoring case on Windows.
QString FileNameKey(const QString &name);

// The names of one directory: one buffer of text and a table of where each name ends,
// found through an open-addressing hash table of their numbers. Thousands of names cost
// three allocations, not two each.
class NameSet {
public:
    void add(QStringView name);
    void add(QStringDecoder &decoder, QByteArrayView name); // decoded into place
    void index(); // after the last add, before the first look-up
    bool contains(QStringView name) const;
    // Which archives of this stem the folder holds: bit k for ArchiveExtensions[k].
    unsigned archivesOf(QStringView stem) const;

private:
    QStringView name(size_t i) const;

    QString names_;
    std::vector<quint32> ends_;
    std::vector<quint32> slots_; // name number + 1; 0 for a free slot
    // The names ending as an archive, by their stems: one look-up answers every kind.
    std::vector<quint32> stemSlots_;
};

// Answers "does a file or directory of this name exist?" for many names at once by
// listing each directory a single time and looking names up in that listing. One
// listing answers every game of a folder, where a test per name would cost a system
// call each. Names are compared as the file system does: ignoring case on Windows.
class PresenceIndex {
public:
    // True when `path`, resolved against the directory `base`, names an existing file
    // or directory. An empty path names nothing.
    bool exists(const QString &base, QStringView path);
    // Which archives `stemPath` with an archive extension names, resolved as `exists`
    // does: bit k set when stemPath + ArchiveExtensions[k] exists.
    unsigned archives(const QString &base, QStringView stemPath);
    // Lets go of the listings of every directory outside these (absolute, clean): what the
    // rest of a catalogue will ask never needs them, and a large library's listings would
    // otherwise all be held at once.
    void keepOnlyWithin(const QStringList &roots);

private:
    const NameSet &listing(const QString &base, QStringView folder);

    // Listings by absolute directory, and the same listings by the way a caller named
    // the directory, so the path of each is worked out once. Node-based maps keep the
    // references stable.
    std::unordered_map<QString, NameSet> listings_;
    std::unordered_map<QString, const NameSet *> byName_;

    // The last few directories asked for: a game's folder and its archive folder.
    struct Recent {
        QString base;
        QString folder;
        const NameSet *listing = nullptr;
    };
    std::array<Recent, 4> recent_;
    size_t nextRecent_ = 0;
};
