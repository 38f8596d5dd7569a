#pragma once

// Reading "Zanku.played" without being held up, and the lock several Zanku save it under.

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <functional>

namespace zanku::history {

enum class ReadStatus { Read, Missing, Unreadable };

// The whole file, when it is a regular file of at most PlayHistory::MaxFileSize bytes. It
// is opened without waiting, so that a named pipe in its place cannot hold up the program.
ReadStatus readHistory(const QString &path, QByteArray &content, QString &error);

// The lock of the history at `path`, held while it lives once taken.
class SaveLock {
public:
    explicit SaveLock(const QString &historyPath);
    // False with `reason` when another Zanku holds it too long or it cannot be made.
    bool take(QString &reason);

private:
    QString path_;
    QLockFile lock_;
};

// Saves one of the files several Zanku share: under its lock, `merge` reads the file as it
// is now and writes it with this program's changes, or says why it could not. False with
// `error` (as the "Error" box says it) when nothing was written; a file that could not be
// read (`readError`) is never written.
bool SaveShared(const QString &path, const QString &readError, QString *error,
                const std::function<bool(QString &reason)> &merge);

// Replaces the file with `content` whole, or leaves it as it was; false with `reason`.
bool writeHistory(const QString &path, const QByteArray &content, QString &reason);

} // namespace zanku::history
