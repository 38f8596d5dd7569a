#pragma once

#include <QByteArray>
#include <QString>

// Reading a whole file that the program expects to be an ordinary one. A named pipe,
// a device or a folder standing in its place is refused before anything is read, and
// opening never waits (a pipe without a writer would hold the caller forever). A link
// is followed: what counts is the file it leads to.
struct RegularFileRead {
    enum Status { Read, Missing, NotRegular, TooLarge, Unreadable };
    Status status = Missing;
    QByteArray content; // every byte, when read
    QString reason;     // why it was not, in words a player can read

    bool ok() const { return status == Read; }
};

// The content of the file at `path` when it is a regular file of at most `maxBytes`.
// A file that grows while it is read is not followed past the size it had when opened.
RegularFileRead ReadRegularFile(const QString &path, qint64 maxBytes);
