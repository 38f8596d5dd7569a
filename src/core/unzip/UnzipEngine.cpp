#include "core/unzip/UnzipEngine.h"

#include "core/unzip/ArchiveListing.h"
#include "core/unzip/FolderChain.h"
#include "core/unzip/FreeSpace.h"
#include "core/unzip/MemberData.h"
#include "core/unzip/MemberWriter.h"
#include "core/unzip/UnzipNames.h"
#include "core/unzip/VBUnzBas.h"
#include "core/unzip/ZipDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

// The archive's directory is read once, by ZipDirectory, and every member is extracted by
// what it says; libzip opens the archive beside it and must list the same members, so a
// player checking the archive with another tool sees what the program extracts. Stored and
// deflated members, the common case, are copied or inflated here; every other method, and
// encrypted members, go through libzip's own decoding.

namespace {

QString methodName(int method)
{
    switch (method) {
    case ZIP_CM_STORE:
        return QStringLiteral("Stored");
    case ZIP_CM_DEFLATE:
        return QStringLiteral("Defl:N");
    case ZIP_CM_BZIP2:
        return QStringLiteral("BZip2");
    case ZIP_CM_LZMA:
        return QStringLiteral("LZMA");
    case ZIP_CM_XZ:
        return QStringLiteral("XZ");
    default:
        return QStringLiteral("Unk:%1").arg(method, 3, 10, QLatin1Char('0'));
    }
}

// One extraction: the state of a single UnzipExtract call.
class Extraction {
public:
    Extraction(const UnzipOptions &options, UnzipCallbacks &callbacks)
        : options_(options)
        , callbacks_(callbacks)
    {
    }
    int run();

private:
    void note(int status) { status_ = std::max(status_, status); }
    void print(const QString &text)
    {
        if (callbacks_.Print)
            callbacks_.Print(text);
    }
    void info(const QString &line)
    {
        if (options_.Quiet <= 0)
            print(line + QLatin1Char('\n'));
    }
    void warn(const QString &line)
    {
        if (options_.Quiet <= 1)
            print(line + QLatin1Char('\n'));
    }
    void fail(const QString &what, int status)
    {
        warn(QStringLiteral("error: %1").arg(what));
        note(status);
    }
    void skip(const Member &member, const QString &why, int status)
    {
        warn(QStringLiteral("skipping: %1  %2").arg(member.name, why));
        note(status);
    }

    bool openArchive();
    void list();
    void planFile(Member &member);
    bool prepareDirectory();
    void makeFolder(const Member &member);
    void extractFile(const Member &member);
    bool mayReplace(const Member &member, int parent);
    int copyData(const Member &member, int out, QString &why);

    const UnzipOptions &options_;
    UnzipCallbacks &callbacks_;
    int status_ = UnzipOk;
    bool stopped_ = false;     // disk full: nothing more is written
    bool replaceNone_ = false; // the replace callback answered "overwrite no file"
    bool replaceAll_ = false;

    ArchiveListing archive_;
    Descriptor root_; // the extraction directory
    std::unique_ptr<FolderChain> folders_;
    std::unique_ptr<MemberBuffers> buffers_;

    int filesSelected_ = 0;
    int filesExtracted_ = 0;
    int encryptedSkipped_ = 0;
};

int Extraction::run()
{
    if (!openArchive())
        return status_;
    if (options_.ListOnly) {
        list();
        return status_;
    }

    // Declared sizes are the archive's word: the sum saturates rather than wrapping round
    // to a small number that would pass the check.
    quint64 needed = 0;
    for (Member &member : archive_.members) {
        if (!member.path.folder) {
            planFile(member);
            if (member.selected && qAddOverflow(needed, member.entry.size, &needed))
                needed = std::numeric_limits<quint64>::max();
        }
    }
    const QString target =
        options_.ExtractDir.isEmpty() ? QStringLiteral(".") : options_.ExtractDir;
    const qint64 available = UnzipFreeSpace(ExistingAncestor(target));
    if (available >= 0 && needed > quint64(available)) {
        fail(QStringLiteral("not enough room on the target volume: %1 bytes needed, "
                            "%2 available")
                 .arg(needed)
                 .arg(available),
             UnzipDiskFull);
        return status_;
    }
    if (!prepareDirectory())
        return status_;

    folders_ = std::make_unique<FolderChain>(root_.get());
    buffers_ = std::make_unique<MemberBuffers>();
    for (const Member &member : archive_.members) {
        if (stopped_)
            break;
        if (!member.selected)
            continue;
        if (member.path.folder)
            makeFolder(member);
        else
            extractFile(member);
    }
    if (filesExtracted_ == 0 && encryptedSkipped_ > 0 && encryptedSkipped_ == filesSelected_)
        note(UnzipAllEncrypted);
    return status_;
}

bool Extraction::openArchive()
{
    QString why;
    if (const int status =
            archive_.open(options_.ArchivePath, options_.RecreateFolders != 0, why)) {
        fail(why, status);
        return false;
    }
    int commentLength = 0;
    callbacks_.HasComment =
        zip_get_archive_comment(archive_.zip.get(), &commentLength, 0) && commentLength > 0;
    callbacks_.MemberCount = int(std::min<size_t>(archive_.members.size(), INT_MAX));
    if (archive_.members.empty()) {
        warn(QStringLiteral("warning: %1: the archive is empty").arg(options_.ArchivePath));
        note(UnzipWarning);
        return false;
    }
    for (const Member &member : archive_.members) {
        callbacks_.TotalCompressedSize += member.entry.compressedSize;
        callbacks_.TotalUncompressedSize += member.entry.size;
    }
    const double total = double(callbacks_.TotalUncompressedSize);
    callbacks_.CompressionFactor =
        total == 0
            ? 0
            : int(std::max(0.0, 100.0 - 100.0 * double(callbacks_.TotalCompressedSize) / total));
    return true;
}

void Extraction::list()
{
    if (!callbacks_.Message)
        return;
    for (const Member &member : archive_.members) {
        const ZipEntry &entry = member.entry;
        std::tm when{};
        if (member.mtime >= 0)
            localtime_r(&member.mtime, &when);
        const int factor = entry.size == 0
                               ? 0
                               : int(std::max(0.0, 100.0 - 100.0 * double(entry.compressedSize) /
                                                               double(entry.size)));
        callbacks_.Message(entry.size, entry.compressedSize, factor, when.tm_mon + 1, when.tm_mday,
                           when.tm_year + 1900, when.tm_hour, when.tm_min, ' ', member.name,
                           methodName(entry.method), entry.crc, entry.encrypted());
    }
}

// Decides whether a file member can be extracted at all; clears its selection, with a
// warning, when it cannot.
void Extraction::planFile(Member &member)
{
    ++filesSelected_;
    const ZipEntry &entry = member.entry;
    if (!member.path.unsafe.isEmpty()) {
        skip(member, QStringLiteral("unsafe name: %1").arg(member.path.unsafe), UnzipWarning);
    } else if (entry.problem != 0) {
        skip(member, entry.why, entry.problem);
    } else if (member.symlink) {
        skip(member, QStringLiteral("symbolic link (links are not created)"), UnzipWarning);
    } else if (!entry.encrypted() && !zip_compression_method_supported(entry.method, 0)) {
        skip(member, QStringLiteral("unsupported compression method %1").arg(entry.method),
             UnzipUnsupported);
    } else if (entry.encrypted()) {
        QString password;
        const int answer =
            callbacks_.Password
                ? callbacks_.Password(password, QStringLiteral("Enter password for: "), member.name)
                : int(UnzipPasswordSkip);
        if (answer != UnzipPasswordGiven || password.isEmpty()) {
            ++encryptedSkipped_;
            skip(member, QStringLiteral("encrypted (no password)"), UnzipWarning);
        } else {
            member.hasPassword = true;
            member.password = password;
            return;
        }
    } else {
        return;
    }
    member.selected = false;
}

bool Extraction::prepareDirectory()
{
    const QString target =
        options_.ExtractDir.isEmpty() ? QStringLiteral(".") : options_.ExtractDir;
    if (!QDir().mkpath(target)) {
        fail(QStringLiteral("cannot create the extraction directory %1").arg(target),
             UnzipSevereError);
        return false;
    }
    root_ = Descriptor(
        ::open(QFile::encodeName(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root_.get() < 0) {
        fail(QStringLiteral("cannot open the extraction directory %1: %2")
                 .arg(target, SystemError(errno)),
             UnzipSevereError);
        return false;
    }
    return true;
}

void Extraction::makeFolder(const Member &member)
{
    if (!member.path.unsafe.isEmpty()) {
        skip(member, QStringLiteral("unsafe name: %1").arg(member.path.unsafe), UnzipWarning);
        return;
    }
    if (member.path.folders.isEmpty())
        return; // flattened, or the extraction directory itself
    QString why;
    int status = UnzipOk;
    if (folders_->open(member.path.folders, why, status) < 0) {
        skip(member, why, status);
        return;
    }
    info(QStringLiteral("   creating: %1/").arg(member.path.relative()));
}

// Whether the member may be written over what lies at its place; true when nothing does.
bool Extraction::mayReplace(const Member &member, int parent)
{
    struct stat st {};
    const QByteArray name = QFile::encodeName(member.path.fileName);
    if (::fstatat(parent, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return true;
    if (S_ISDIR(st.st_mode)) {
        skip(member, QStringLiteral("a folder of that name is on disk"), UnzipWarning);
        return false;
    }
    if (options_.OverwriteAll || replaceAll_)
        return true;
    if (replaceNone_ || !options_.PromptToOverwrite || !callbacks_.Replace)
        return false;
    const QString target = options_.ExtractDir.isEmpty()
                               ? member.path.relative()
                               : QDir(options_.ExtractDir).filePath(member.path.relative());
    switch (callbacks_.Replace(target)) {
    case UnzipOverwriteThisFile:
        return true;
    case 103: // overwrite this file and every later one
        replaceAll_ = true;
        return true;
    case UnzipOverwriteNoFile:
        replaceNone_ = true;
        return false;
    default:
        return false;
    }
}

void Extraction::extractFile(const Member &member)
{
    QString why;
    int status = UnzipOk;
    const int parent = folders_->open(member.path.folders, why, status);
    if (parent < 0) {
        skip(member, why, status);
        return;
    }
    if (!mayReplace(member, parent))
        return;
    status = WriteMemberFile(
        parent, member.path.fileName, member.mtime,
        [this, &member](int out, QString &reason) { return copyData(member, out, reason); }, why);
    if (status == UnzipWarning) {
        ++encryptedSkipped_;
        skip(member, why, status);
    } else if (status != UnzipOk) {
        fail(QStringLiteral("%1: %2").arg(member.name, why), status);
        // A full disk or a volume that refuses writes: the next members would fail alike.
        stopped_ = status == UnzipDiskFull;
    } else {
        ++filesExtracted_;
        info(QStringLiteral("%1: %2").arg(member.entry.method == ZIP_CM_STORE
                                              ? QStringLiteral(" extracting")
                                              : QStringLiteral("  inflating"),
                                          member.path.relative()));
    }
}

int Extraction::copyData(const Member &member, int out, QString &why)
{
    const ZipEntry &entry = member.entry;
    if (!entry.encrypted() && entry.method == ZIP_CM_STORE)
        return CopyStored(archive_.file, entry, out, *buffers_, why);
    if (!entry.encrypted() && entry.method == ZIP_CM_DEFLATE)
        return CopyDeflated(archive_.file, entry, out, *buffers_, why);
    const QByteArray password = member.password.toUtf8();
    return CopyThroughLibzip(archive_.zip.get(), member.index,
                             member.hasPassword ? password.constData() : nullptr, entry.size, out,
                             *buffers_, why);
}

} // namespace

int UnzipExtract(int includeCount, const QString *includeNames, int excludeCount,
                 const QString *excludeNames, const UnzipOptions &options,
                 UnzipCallbacks &callbacks)
{
    // The launch never names members: every member is extracted, whatever the tables hold.
    Q_UNUSED(includeCount);
    Q_UNUSED(includeNames);
    Q_UNUSED(excludeCount);
    Q_UNUSED(excludeNames);
    callbacks.TotalCompressedSize = 0;
    callbacks.TotalUncompressedSize = 0;
    callbacks.CompressionFactor = 0;
    callbacks.MemberCount = 0;
    callbacks.HasComment = false;
    Extraction extraction(options, callbacks);
    return extraction.run();
}
