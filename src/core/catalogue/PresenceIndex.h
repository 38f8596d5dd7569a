#pragma once

#include <QSet>
#include <QString>

#include <unordered_map>

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
    bool exists(const QString &base, const QString &path);

private:
    const QSet<QString> &listing(const QString &base, const QString &folder);

    // Listings by absolute directory, and the same listings by the way a caller named
    // the directory, so the path of each is worked out once. Node-based maps keep the
    // references stable.
    std::unordered_map<QString, QSet<QString>> listings_;
    std::unordered_map<QString, const QSet<QString> *> byName_;
};
