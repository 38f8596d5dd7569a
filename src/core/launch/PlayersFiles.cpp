#include "core/launch/PlayersFiles.h"
#include "core/common/CoreText.h"
#include "core/common/ProgramFiles.h"

#include "core/unzip/ArchiveFile.h"
#include "core/unzip/FolderChain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zanku {
namespace {
constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// The longest folder name most file systems hold, in bytes.
constexpr qsizetype LongestName = 255;

ExtractionMarker::Stamp stampOf(const struct stat &st)
{
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
}

// A copy under way takes this name until it is complete; one left by a kill is never a
// file of the player's, in the folder or in "Saves".
const QByteArray PartEnding = ".zanku-part";

bool isMarker(const QByteArray &name)
{
    return name.startsWith(MarkerName);
}

void listFiles(int folder, const QByteArray &prefix,
               QHash<QByteArray, ExtractionMarker::Stamp> &files)
{
    const int copy = ::dup(folder);
    DIR *listing = copy < 0 ? nullptr : ::fdopendir(copy);
    if (listing == nullptr) {
        if (copy >= 0)
            ::close(copy);
        return;
    }
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || name.endsWith(PartEnding) ||
            (prefix.isEmpty() && isMarker(name)))
            continue;
        struct stat st {};
        if (::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode)) {
            files.insert(prefix + name, stampOf(st));
        } else if (S_ISDIR(st.st_mode)) {
            const Descriptor sub(::openat(folder, name.constData(), FolderFlags));
            if (sub.get() >= 0)
                listFiles(sub.get(), prefix + name + '/', files);
        }
    }
    ::closedir(listing);
}

// The folder `relative` (components split by "/") under `root`, never through a link;
// made as needed when `make`. -1, with errno, when it cannot be reached.
Descriptor openFolder(int root, const QByteArray &relative, bool make)
{
    Descriptor folder(::dup(root));
    for (const QByteArray &name : relative.split('/')) {
        if (name.isEmpty() || folder.get() < 0)
            continue;
        int next = ::openat(folder.get(), name.constData(), FolderFlags);
        if (next < 0 && errno == ENOENT && make &&
            (::mkdirat(folder.get(), name.constData(), 0777) == 0 || errno == EEXIST))
            next = ::openat(folder.get(), name.constData(), FolderFlags);
        folder = Descriptor(next);
    }
    return folder;
}

QByteArray folderPart(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

QByteArray namePart(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Copies the file's data extent by extent, so the holes of a sparse disk image stay holes.
bool copyData(int from, int to, off_t size)
{
    off_t at = 0;
    while (at < size) {
        off_t data = ::lseek(from, at, SEEK_DATA);
        if (data < 0)
            break; // only a hole is left
        off_t hole = ::lseek(from, data, SEEK_HOLE);
        if (hole < 0)
            hole = size;
        off_t in = data, out = data;
        while (in < hole) {
            ssize_t copied = ::copy_file_range(from, &in, to, &out, size_t(hole - in), 0);
            if (copied < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL)) {
                // An older kernel copies between file systems only by hand.
                char buffer[1 << 16];
                copied =
                    ::pread(from, buffer, size_t(std::min<off_t>(hole - in, sizeof buffer)), in);
                if (copied > 0 && ::pwrite(to, buffer, size_t(copied), out) != copied)
                    return false;
                in += copied > 0 ? copied : 0;
                out = in;
            }
            if (copied <= 0)
                return false;
        }
        at = hole;
    }
    return ::ftruncate(to, size) == 0;
}

// Copies `name` of `fromDir` to the same name in `toDir`, complete and on disk before it
// takes the name; errno says why not.
bool copyFile(int fromDir, int toDir, const QByteArray &name)
{
    const Descriptor from(::openat(fromDir, name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (from.get() < 0 || ::fstat(from.get(), &st) != 0)
        return false;
    const QByteArray part = name.left(LongestName - PartEnding.size() - 1) + PartEnding;
    const Descriptor to(::openat(toDir, part.constData(),
                                 O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (to.get() < 0)
        return false;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    if (!copyData(from.get(), to.get(), st.st_size) ||
        ::fchmod(to.get(), st.st_mode & 07777) != 0 || ::futimens(to.get(), times) != 0 ||
        ::fsync(to.get()) != 0 ||
        ::renameat(toDir, part.constData(), toDir, name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(toDir, part.constData(), 0);
        errno = error;
        return false;
    }
    return true;
}

// Moves the file at `path` from under `fromRoot` to the same path under `toRoot`,
// replacing a file there. With `keepSource` a copy leaves the source where it was.
// errno says why it could not.
bool moveFile(int fromRoot, int toRoot, const QByteArray &path, bool keepSource = false)
{
    const Descriptor fromDir = openFolder(fromRoot, folderPart(path), false);
    const Descriptor toDir = openFolder(toRoot, folderPart(path), true);
    if (fromDir.get() < 0 || toDir.get() < 0)
        return false;
    const QByteArray name = namePart(path);
    if (::renameat(fromDir.get(), name.constData(), toDir.get(), name.constData()) != 0) {
        if (errno != EXDEV || !copyFile(fromDir.get(), toDir.get(), name))
            return false;
        if (!keepSource)
            ::unlinkat(fromDir.get(), name.constData(), 0);
    }
    return ::fsync(toDir.get()) == 0 || errno == EINVAL;
}

Descriptor openPath(const QString &path)
{
    return Descriptor(::open(QFile::encodeName(path).constData(), FolderFlags));
}

QString readable(const QByteArray &path)
{
    return QFile::decodeName(path);
}
} // namespace

QHash<QByteArray, ExtractionMarker::Stamp> FilesIn(const QString &folder)
{
    QHash<QByteArray, ExtractionMarker::Stamp> files;
    const Descriptor top = openPath(folder);
    if (top.get() >= 0)
        listFiles(top.get(), {}, files);
    return files;
}

QString SavesName(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("%00");
    if (text == QLatin1String(".") || text == QLatin1String(".."))
        return QString(text).replace(u'.', QLatin1String("%2E"));
    QString name = text;
    name.replace(u'%', QLatin1String("%25"))
        .replace(u'/', QLatin1String("%2F"))
        .replace(u'\\', QLatin1String("%5C"));
    if (QFile::encodeName(name).size() <= LongestName)
        return name;
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    while (QFile::encodeName(name).size() > LongestName - 1 - hash.size())
        name.chop(name.size() > 1 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
    return name + u'~' + hash;
}

QString SavesFolder(const QString &programDir, const QString &emulator, const QString &gameFile)
{
    const QDir saves(QDir(programDir).filePath(QLatin1String(own::Saves)));
    return saves.filePath(SavesName(emulator) + u'/' + SavesName(gameFile));
}

namespace {
// Earlier versions made every "/" and "\" an underscore, and "_" of nothing.
QString OldSavesName(QString name)
{
    name.replace(u'/', u'_').replace(u'\\', u'_');
    return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
               ? QStringLiteral("_")
               : name;
}
} // namespace

bool HasOldSavesFolder(const QString &programDir, const QString &emulator)
{
    return QFileInfo(
               QDir(programDir).filePath(QLatin1String(own::Saves) + u'/' + OldSavesName(emulator)))
        .isDir();
}

void MigrateSavesNames(const QString &programDir, const QString &emulator,
                       const QStringList &gameFiles)
{
    const QDir saves(QDir(programDir).filePath(QLatin1String(own::Saves)));
    const QDir old(saves.filePath(OldSavesName(emulator)));
    if (!old.exists())
        return;
    QSet<QString> own;
    QHash<QString, QStringList> byOldName;
    for (const QString &file : gameFiles) {
        own.insert(SavesName(file));
        if (QStringList &named = byOldName[OldSavesName(file)]; !named.contains(file))
            named.append(file);
    }
    for (auto name = byOldName.cbegin(); name != byOldName.cend(); ++name) {
        if (name.value().size() != 1 || own.contains(name.key()) || !old.exists(name.key()))
            continue;
        const QString folder = SavesFolder(programDir, emulator, name.value().first());
        if (!QFileInfo::exists(folder) && QFileInfo(old.filePath(name.key())).isDir()) {
            QDir().mkpath(QFileInfo(folder).absolutePath());
            QDir().rename(old.filePath(name.key()), folder);
        }
    }
}

KeepResult KeepPlayersFiles(const QString &folder, ExtractionMarker &marker, const QString &saves)
{
    KeepResult result;
    const auto now = FilesIn(folder);
    QList<QByteArray> players;
    for (auto file = now.cbegin(); file != now.cend(); ++file) {
        const auto written = marker.extracted.constFind(file.key());
        if (marker.restored.contains(file.key()) || written == marker.extracted.cend() ||
            written.value() != file.value())
            players.append(file.key());
    }
    if (marker.state == FolderState::InUse) {
        // Deleted by the emulator while it ran: it must not come back next time.
        const Descriptor kept = openPath(saves);
        for (const QByteArray &path : std::as_const(marker.restored)) {
            const Descriptor in = kept.get() < 0 || now.contains(path)
                                      ? Descriptor()
                                      : openFolder(kept.get(), folderPart(path), false);
            if (in.get() >= 0)
                ::unlinkat(in.get(), namePart(path).constData(), 0);
        }
    }
    if (marker.state != FolderState::Keeping) {
        marker.state = FolderState::Keeping;
        QString error;
        if (!WriteMarker(folder, marker, &error)) {
            result.waiting.append(QStringLiteral("%1 (%2)").arg(
                QDir::toNativeSeparators(QDir(folder).filePath(QLatin1String(MarkerName))), error));
            return result;
        }
    }
    if (players.isEmpty())
        return result;
    const Descriptor from = openPath(folder);
    const int folderError = errno;
    QDir().mkpath(saves);
    const Descriptor to = openPath(saves);
    if (from.get() < 0 || to.get() < 0) {
        const QString why = from.get() < 0
                                ? SystemError(folderError)
                                : CoreText::tr("%1 cannot be made: %2")
                                      .arg(QDir::toNativeSeparators(saves), SystemError(errno));
        for (const QByteArray &path : std::as_const(players))
            result.waiting.append(readable(path) + QStringLiteral(" (") + why + u')');
        return result;
    }
    for (const QByteArray &path : std::as_const(players)) {
        if (moveFile(from.get(), to.get(), path))
            ++result.kept;
        else
            result.waiting.append(readable(path) + QStringLiteral(" (") + SystemError(errno) +
                                  u')');
    }
    return result;
}

QSet<QByteArray> RestoreKeptFiles(const QString &saves, const QString &folder, bool replace)
{
    QSet<QByteArray> restored;
    const Descriptor from = openPath(saves);
    const Descriptor to = openPath(folder);
    if (from.get() < 0 || to.get() < 0)
        return restored;
    const auto kept = FilesIn(saves);
    const auto there = replace ? decltype(kept)() : FilesIn(folder);
    for (auto file = kept.cbegin(); file != kept.cend(); ++file) {
        if (!there.contains(file.key()) && moveFile(from.get(), to.get(), file.key(), true))
            restored.insert(file.key());
    }
    return restored;
}

} // namespace zanku
