#include "core/files/RemoveTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Closes its descriptor when it goes.
class Fd {
public:
    explicit Fd(int fd = -1)
        : fd_(fd)
    {
    }
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd &&other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Fd &operator=(Fd &&other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// The identity of the folder `name` names in `dir` (`dir` itself when `name` is empty),
// no link followed; none, with errno set, when it is missing or not a folder.
std::optional<FolderIdentity> folderAt(int dir, const char *name)
{
    const int flags = AT_SYMLINK_NOFOLLOW | (*name == '\0' ? AT_EMPTY_PATH : 0);
#ifdef STATX_BTIME
    struct statx st {};
    if (::statx(dir, name, flags, STATX_TYPE | STATX_INO | STATX_BTIME, &st) != 0)
        return std::nullopt;
    const bool folder = S_ISDIR(st.stx_mode);
    const FolderIdentity identity{
        quint64(makedev(st.stx_dev_major, st.stx_dev_minor)), quint64(st.stx_ino),
        (st.stx_mask & STATX_BTIME) != 0
            ? quint64(st.stx_btime.tv_sec) * 1000000000u + st.stx_btime.tv_nsec
            : 0};
#else
    struct stat st {};
    if (::fstatat(dir, name, &st, flags) != 0)
        return std::nullopt;
    const bool folder = S_ISDIR(st.st_mode);
    const FolderIdentity identity{quint64(st.st_dev), quint64(st.st_ino), 0};
#endif
    if (!folder) {
        errno = ENOTDIR;
        return std::nullopt;
    }
    return identity;
}

// Folders listed at once, from the top down; deeper ones are listed again after each
// subfolder, so a tree of any depth needs no more descriptors than this.
constexpr size_t OpenListings = 16;

struct CloseListing {
    void operator()(DIR *listing) const { ::closedir(listing); }
};

// One folder on the way down: its name in its parent, its identity, the entries in it
// that could not be removed (so they are not tried again), and, while open, the folder
// and where its listing stands.
struct Level {
    QByteArray name;
    FolderIdentity identity;
    Fd folder;
    std::set<QByteArray> kept;
    std::unique_ptr<DIR, CloseListing> listing;
};

// Removes the files and empty folders of the level, as its listing goes, up to a folder
// that still holds something, and returns its name; an empty name once the listing ends.
QByteArray clearFolder(Level &level, quint64 device)
{
    const int folder = level.folder.get();
    if (!level.listing) {
        // A listing of its own, from the start: a duplicate shares the read position.
        const int copy = ::dup(folder);
        level.listing.reset(copy < 0 ? nullptr : ::fdopendir(copy));
        if (!level.listing) {
            if (copy >= 0)
                ::close(copy);
            level.kept.insert(QByteArrayLiteral(".")); // cannot be listed, so it stays
            return {};
        }
        ::rewinddir(level.listing.get());
    }
    while (const dirent *entry = ::readdir(level.listing.get())) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || level.kept.count(name) != 0)
            continue;
        if (::unlinkat(folder, name.constData(), 0) == 0 || errno == ENOENT)
            continue;
        // A file that cannot be deleted, or a file system mounted here, stays.
        const std::optional<FolderIdentity> sub = folderAt(folder, name.constData());
        if (!sub || sub->device != device) {
            if (sub || errno != ENOENT)
                level.kept.insert(name);
            continue;
        }
        if (::unlinkat(folder, name.constData(), AT_REMOVEDIR) == 0 || errno == ENOENT)
            continue;
        if (errno == ENOTEMPTY || errno == EEXIST)
            return name;
        level.kept.insert(name);
    }
    level.listing.reset();
    return {};
}
} // namespace

std::optional<FolderIdentity> IdentityOf(const QString &path)
{
    return path.isEmpty() ? std::nullopt : folderAt(AT_FDCWD, QFile::encodeName(path).constData());
}

RemoveTreeResult RemoveTree(const QString &path, std::optional<FolderIdentity> expected,
                            const char *last)
{
    const QFileInfo info(QDir::cleanPath(path));
    const QByteArray topName = QFile::encodeName(info.fileName());
    if (topName.isEmpty() || topName == "." || topName == "..")
        return RemoveTreeResult::NotOurs;
    const Fd parent(::open(QFile::encodeName(info.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.get() < 0)
        return errno == ENOENT ? RemoveTreeResult::Missing : RemoveTreeResult::PartlyKept;
    Fd current(::openat(parent.get(), topName.constData(), FolderFlags));
    if (current.get() < 0) {
        if (errno == ENOENT)
            return RemoveTreeResult::Missing;
        return errno == ELOOP || errno == ENOTDIR ? RemoveTreeResult::NotOurs
                                                  : RemoveTreeResult::PartlyKept;
    }
    const std::optional<FolderIdentity> top = folderAt(current.get(), "");
    if (!top)
        return RemoveTreeResult::PartlyKept;
    if (expected && *expected != *top)
        return RemoveTreeResult::NotOurs;

    // Down one folder at a time and back up; a folder whose descriptor was let go is
    // found again through "..", checked against the identity seen on the way down.
    std::vector<Level> levels;
    levels.push_back({topName, *top, std::move(current), {}, nullptr});
    if (last != nullptr)
        levels.front().kept.insert(QByteArray(last));
    for (;;) {
        const QByteArray full = clearFolder(levels.back(), top->device);
        if (!full.isEmpty()) {
            Level &level = levels.back();
            Fd child(::openat(level.folder.get(), full.constData(), FolderFlags));
            const auto childIdentity = child.get() < 0 ? std::nullopt : folderAt(child.get(), "");
            if (!childIdentity) {
                level.kept.insert(full);
                continue;
            }
            if (levels.size() > OpenListings) {
                level.listing.reset();
                level.folder = Fd();
            }
            levels.push_back({full, *childIdentity, std::move(child), {}, nullptr});
            continue;
        }
        if (levels.size() == 1)
            break;
        const Level done = std::move(levels.back());
        levels.pop_back();
        Level &level = levels.back();
        if (level.folder.get() < 0) {
            Fd up(::openat(done.folder.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            // Moved away while being removed: stop rather than remove elsewhere.
            if (up.get() < 0 || folderAt(up.get(), "") != level.identity)
                return RemoveTreeResult::PartlyKept;
            level.folder = std::move(up);
        }
        if (!done.kept.empty() ||
            ::unlinkat(level.folder.get(), done.name.constData(), AT_REMOVEDIR) != 0)
            level.kept.insert(done.name);
    }
    if (last != nullptr && levels.front().kept == std::set<QByteArray>{QByteArray(last)} &&
        (::unlinkat(levels.front().folder.get(), last, 0) == 0 || errno == ENOENT))
        levels.front().kept.clear();
    if (!levels.front().kept.empty())
        return RemoveTreeResult::PartlyKept;
    // The name must still lead to the folder just emptied.
    if (folderAt(parent.get(), topName.constData()) != top ||
        ::unlinkat(parent.get(), topName.constData(), AT_REMOVEDIR) != 0)
        return RemoveTreeResult::PartlyKept;
    return RemoveTreeResult::Removed;
}
