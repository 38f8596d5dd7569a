#include "core/gamedata/PlayHistoryFile.h"

#include "core/common/CoreText.h"
#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"
#include "core/gamedata/PlayHistory.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>

namespace zanku::history {
namespace {
// Another Zanku holds the lock only while it writes the file.
constexpr int LockWaitMs = 2000;
} // namespace

ReadStatus readHistory(const QString &path, QByteArray &content, QString &error)
{
    RegularFileRead read = ReadRegularFile(path, PlayHistory::MaxFileSize);
    content = std::move(read.content);
    if (read.status == RegularFileRead::Read)
        return ReadStatus::Read;
    if (read.status == RegularFileRead::Missing)
        return ReadStatus::Missing;
    error = read.reason;
    return ReadStatus::Unreadable;
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
        reason = CoreText::tr("its lock file %1 is not an ordinary file")
                     .arg(QDir::toNativeSeparators(path_));
        return false;
    }
    if (!lock_.tryLock(LockWaitMs)) {
        const int error = errno; // QLockFile keeps the system's reason (a full disk) to itself
        reason = lock_.error() == QLockFile::LockFailedError
                     ? CoreText::tr("another Zanku is saving it")
                     : CoreText::tr("its lock file cannot be made: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    return true;
}

bool SaveShared(const QString &path, const QString &readError, QString *error,
                const std::function<bool(QString &reason)> &merge)
{
    QString reason = readError;
    if (reason.isEmpty() && path.isEmpty())
        reason = CoreText::tr("no program directory was read");
    SaveLock lock(path);
    if (reason.isEmpty() && lock.take(reason) && merge(reason))
        return true;
    if (error != nullptr)
        *error = SaveErrorText(path, reason);
    return false;
}

bool writeHistory(const QString &path, const QByteArray &content, QString &reason)
{
    const TextWriteResult written = WriteFileBytes(path, content);
    reason = written.error;
    return written.ok;
}

} // namespace zanku::history
