#include "core/unzip/FolderChain.h"

#include "core/common/CoreText.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

Descriptor OpenExtractionRoot(const QString &extractDir)
{
    if (!QDir().mkpath(extractDir))
        return Descriptor(-1);
    return Descriptor(
        ::open(QFile::encodeName(extractDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool FolderStandsAt(int parent, const QString &fileName)
{
    struct stat st {};
    const QByteArray name = QFile::encodeName(fileName);
    return ::fstatat(parent, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(st.st_mode);
}

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool NameRefused(int error)
{
    return error == ENAMETOOLONG || error == EILSEQ || error == EINVAL;
}

int FolderChain::open(const QStringList &folders, QString &why, int &status)
{
    qsizetype common = 0;
    while (common < folders.size() && common < qsizetype(chain_.size()) &&
           folders.at(common) == names_.at(common))
        ++common;
    chain_.resize(size_t(common));
    names_ = names_.mid(0, common);
    for (qsizetype i = common; i < folders.size(); ++i) {
        const QString &folder = folders.at(i);
        const QByteArray name = QFile::encodeName(folder);
        const int parent = chain_.empty() ? root_ : chain_.back().get();
        const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int fd = ::openat(parent, name.constData(), flags);
        if (fd < 0 && errno == ENOENT) {
            if (::mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST) {
                const int error = errno;
                why = zanku::CoreText::tr("cannot create folder %1: %2")
                          .arg(folder, SystemError(error));
                status = NameRefused(error) ? 1 : 50;
                return -1;
            }
            fd = ::openat(parent, name.constData(), flags);
        }
        if (fd < 0) {
            const int error = errno;
            const bool inTheWay = error == ELOOP || error == ENOTDIR;
            why = inTheWay ? zanku::CoreText::tr("%1 is a link or a file on disk, not a folder")
                                 .arg(folder)
                           : zanku::CoreText::tr("cannot open folder %1: %2")
                                 .arg(folder, SystemError(error));
            status = inTheWay || NameRefused(error) ? 1 : 50;
            return -1;
        }
        chain_.emplace_back(fd);
        names_.append(folder);
    }
    return chain_.empty() ? root_ : chain_.back().get();
}
