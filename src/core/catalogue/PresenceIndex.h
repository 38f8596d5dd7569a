#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <array>
#include <unordered_map>
#include <unordered_set>

// A name or path as the file system compares it: ignoring case on Windows.
QString FileNameKey(const QString &name);

// Answers "does a file or directory of this name exist?" for many names at once by
// listing each directory a single time and looking names up in that listing. One
// listing answers every game of a folder, where a test per name would cost a system
// call each. Names are compared as the file system does: ignoring case on Windows.
class PresenceIndex {
public:
    // True when `path`, resolved against the directory `base`, names an existing file
    // or directory. An empty path names nothing.
    bool exists(const QString &base, QStringView path);

private:
    // Looked up by a view into the caller's text, so a name is never copied to be found.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(QStringView name) const noexcept { return qHash(name); }
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
    };
    using Listing = std::unordered_set<QString, NameHash, NameEqual>;

    const Listing &listing(const QString &base, QStringView folder);

    // Listings by absolute directory, and the same listings by the way a caller named
    // the directory, so the path of each is worked out once. Node-based maps keep the
    // references stable.
    std::unordered_map<QString, Listing> listings_;
    std::unordered_map<QString, const Listing *> byName_;

    // The last few directories asked for: a game's folder and its archive folder.
    struct Recent {
        QString base;
        QString folder;
        const Listing *listing = nullptr;
    };
    std::array<Recent, 4> recent_;
    size_t nextRecent_ = 0;
};
