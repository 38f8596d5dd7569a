#pragma once

#include <QHash>
#include <QSet>
#include <QString>

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
    const QSet<QString> &listing(const QString &directory);

    QHash<QString, QSet<QString>> listings_;
};
