#include "core/library/PlayHistoryFile.h"

#include "core/library/PlayHistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zanku::history {
namespace {
// Another Zanku holds the lock only while it writes the file.
constexpr int LockWaitMs = 2000;
} // namespace

ReadStatus readHistory(const QString &path, QByteArray &content, QString &error)
{
    content.clear();
    QFile file;
#ifdef Q_OS_UNIX
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT)
            return ReadStatus::Missing;
        error = QString::fromLocal8Bit(strerror(errno));
        return ReadStatus::Unreadable;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        error = QStringLiteral("it is not an ordinary file");
        return ReadStatus::Unreadable;
    }
    if (!file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        error = file.errorString();
        return ReadStatus::Unreadable;
    }
#else
    const QFileInfo info(path);
    if (!info.exists())
        return ReadStatus::Missing;
    file.setFileName(path);
    if (!info.isFile()) {
        error = QStringLiteral("it is not an ordinary file");
        return ReadStatus::Unreadable;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return ReadStatus::Unreadable;
    }
#endif
    const qint64 size = file.size();
    if (size > PlayHistory::MaxFileSize) {
        error = QStringLiteral("it is over 64 MiB");
        return ReadStatus::Unreadable;
    }
    content.resize(qsizetype(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 read = file.read(content.data() + done, size - done);
        if (read < 0) {
            error = file.errorString();
            return ReadStatus::Unreadable;
        }
        if (read == 0)
            break;
        done += read;
    }
    content.truncate(qsizetype(done));
    return ReadStatus::Read;
}

SaveLock::SaveLock(const QString &historyPath)
    : path_(historyPath + QStringLiteral(".lock"))
    , lock_(path_)
{
}

bool SaveLock::take(QString &reason)
{
    // QLockFile would wait forever on a named pipe in the lock's place.
    const QFileInfo info(path_);
    if ((info.exists() || info.isSymLink()) && !info.isFile()) {
        reason = QStringLiteral("its lock file %1 is not an ordinary file")
                     .arg(QDir::toNativeSeparators(path_));
        return false;
    }
    if (!lock_.tryLock(LockWaitMs)) {
        reason = lock_.error() == QLockFile::LockFailedError
                     ? QStringLiteral("another Zanku is saving it")
                     : QStringLiteral("its lock file cannot be made");
        return false;
    }
    return true;
}

bool writeHistory(const QString &path, const QByteArray &content, QString &reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace zanku::history
