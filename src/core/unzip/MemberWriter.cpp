#include "core/unzip/MemberWriter.h"

#include "core/common/CoreText.h"
#include "core/unzip/ArchiveFile.h"
#include "core/unzip/FolderChain.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int WriteFailure(int error, QString &why)
{
    why = error == ENOSPC || error == EDQUOT
              ? zanku::CoreText::tr("disk full")
              : zanku::CoreText::tr("write error: %1").arg(SystemError(error));
    return 50;
}

int WriteAll(int fd, const unsigned char *data, size_t size, QString &why)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return WriteFailure(errno, why);
        }
        data += written;
        size -= size_t(written);
    }
    return 0;
}

int WriteMemberFile(int parent, const QString &fileName, std::time_t mtime, const MemberCopy &copy,
                    QString &why)
{
    QByteArray temporary;
    Descriptor out;
    for (int attempt = 0; attempt < 16 && out.get() < 0; ++attempt) {
        temporary = QByteArray(".zk-") +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".part";
        // Read and write: a stored member's CRC is taken from what was written.
        out = Descriptor(::openat(parent, temporary.constData(),
                                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (out.get() < 0 && errno != EEXIST)
            break;
    }
    if (out.get() < 0)
        return WriteFailure(errno, why);

    const int status = copy(out.get(), why);
    if (status == 0 && mtime >= 0) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {mtime, 0}};
        ::futimens(out.get(), times);
    }
    out.reset();
    if (status != 0) {
        ::unlinkat(parent, temporary.constData(), 0);
        return status;
    }
    const QByteArray name = QFile::encodeName(fileName);
    if (::renameat(parent, temporary.constData(), parent, name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(parent, temporary.constData(), 0);
        if (NameRefused(error)) {
            why = zanku::CoreText::tr("the file system cannot hold the name: %1")
                      .arg(SystemError(error));
            return 1;
        }
        WriteFailure(error, why);
        why = zanku::CoreText::tr("cannot put the file in place: %1").arg(why);
        return 50;
    }
    return 0;
}
