#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Removing an extracted folder with everything in it, as safely as it was made: every
// folder is opened without following links, relative to its parent, so the depth of
// the tree and the length of its paths do not matter, and a link inside leads nowhere.

// What proves a folder is the one the program made: its device and inode number, which
// stay with the folder whatever its name, and its birth time where the file system keeps
// one (0 where not), since a folder made after this one was deleted often gets its inode.
struct FolderIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    quint64 birth = 0; // nanoseconds since 1970

    friend bool operator==(const FolderIdentity &, const FolderIdentity &) = default;
};

// The identity of the folder at `path` itself (a link is not followed); none when there
// is no folder there.
std::optional<FolderIdentity> IdentityOf(const QString &path);

enum class RemoveTreeResult {
    Removed,    // the folder and everything in it are gone
    Missing,    // there was nothing to remove
    NotOurs,    // a link, a file, or a folder other than the expected one: left alone
    PartlyKept, // something inside could not be removed, so the folder stays
};

// Removes the folder at `path` and everything in it, never following a link and never
// entering another file system mounted inside. With `expected`, only when the folder is
// still that one. With `last`, the file of that name in the folder goes after everything
// else, so a removal cut short still finds it.
RemoveTreeResult RemoveTree(const QString &path,
                            std::optional<FolderIdentity> expected = std::nullopt,
                            const char *last = nullptr);
