#include "core/unzip/ArchiveFile.h"

#include "core/common/CoreText.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

void Descriptor::reset()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool ArchiveFile::open(const QString &path, QString &why)
{
    fd_ = Descriptor(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd_.get() < 0 || ::fstat(fd_.get(), &st) != 0) {
        why = zanku::CoreText::tr("cannot find or open %1: %2")
                  .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        fd_.reset();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        why = zanku::CoreText::tr("%1 is not a regular file").arg(path);
        fd_.reset();
        return false;
    }
    // Back to blocking reads: the file is regular, so none of them can wait forever.
    ::fcntl(fd_.get(), F_SETFL, ::fcntl(fd_.get(), F_GETFL) & ~O_NONBLOCK);
    size_ = quint64(st.st_size);
    return true;
}

bool ArchiveFile::readAt(quint64 offset, void *buffer, size_t size) const
{
    auto *at = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t got = ::pread(fd_.get(), at, size, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        offset += quint64(got);
        size -= size_t(got);
    }
    return true;
}
