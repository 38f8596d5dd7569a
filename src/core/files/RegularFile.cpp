#include "core/files/RegularFile.h"

#include "core/common/CoreText.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
QString NotRegularText()
{
    return zanku::CoreText::tr("not a regular file (it is a folder, a device or a pipe)");
}

RegularFileRead failed(RegularFileRead::Status status, const QString &reason)
{
    RegularFileRead read;
    read.status = status;
    read.reason = reason;
    return read;
}

RegularFileRead tooLarge(qint64 maxBytes)
{
    return failed(RegularFileRead::TooLarge,
                  zanku::CoreText::tr("it is larger than %1 bytes").arg(maxBytes));
}

#ifdef Q_OS_UNIX
QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Asks for pages of 2 MiB under a large buffer about to be filled, where the system has
// them: a file of tens of megabytes then lands in a few pages rather than in thousands
// taken one fault at a time.
void preferLargePages([[maybe_unused]] char *data, [[maybe_unused]] size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr Large = 2 * 1024 * 1024;
    const quintptr first = (quintptr(data) + Large - 1) & ~(Large - 1);
    const quintptr end = (quintptr(data) + size) & ~(Large - 1);
    if (first < end)
        ::madvise(reinterpret_cast<void *>(first), end - first, MADV_HUGEPAGE);
#endif
}

// Closes the descriptor however the read ends.
struct OpenFile {
    int fd;
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
#endif
} // namespace

RegularFileRead ReadRegularFile(const QString &path, qint64 maxBytes)
{
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK a pipe with no writer would hold the open until one came.
    const OpenFile file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) {
        const int error = errno;
        return failed(error == ENOENT ? RegularFileRead::Missing : RegularFileRead::Unreadable,
                      systemError(error));
    }
    struct stat status {};
    if (::fstat(file.fd, &status) != 0)
        return failed(RegularFileRead::Unreadable, systemError(errno));
    if (!S_ISREG(status.st_mode))
        return failed(RegularFileRead::NotRegular, NotRegularText());
    const qint64 size = status.st_size;
    if (size > maxBytes)
        return tooLarge(maxBytes);
    RegularFileRead read;
    read.content.resize(qsizetype(size));
    preferLargePages(read.content.data(), size_t(size));
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.fd, read.content.data() + done, size_t(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(RegularFileRead::Unreadable, systemError(errno));
        if (got == 0)
            break; // it shrank meanwhile
        done += got;
    }
    read.content.truncate(qsizetype(done));
    read.status = RegularFileRead::Read;
    return read;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return failed(RegularFileRead::Missing, zanku::CoreText::tr("the file does not exist"));
    if (!info.isFile())
        return failed(RegularFileRead::NotRegular, NotRegularText());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failed(RegularFileRead::Unreadable, file.errorString());
    const qint64 size = file.size();
    if (size > maxBytes)
        return tooLarge(maxBytes);
    RegularFileRead read;
    read.content.resize(qsizetype(size));
    preferLargePages(read.content.data(), size_t(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(read.content.data() + done, size - done);
        if (got < 0)
            return failed(RegularFileRead::Unreadable, file.errorString());
        if (got == 0)
            break;
        done += got;
    }
    read.content.truncate(qsizetype(done));
    read.status = RegularFileRead::Read;
    return read;
#endif
}
