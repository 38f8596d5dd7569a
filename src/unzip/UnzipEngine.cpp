#include "unzip/UnzipEngine.h"

#include "unzip/UnzipNames.h"
#include "unzip/VBUnzBas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <zip.h>
#include <zlib.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

// The archive is read through a memory map handed to libzip as one buffer, so libzip
// never issues small reads. Stored and deflated members, the common case, are read raw
// and inflated here with large buffers; every other method goes through libzip's own
// decompression. Files and folders are reached with the *at() calls from a descriptor
// of the extraction directory, never following a link, so nothing already on disk can
// lead a member out of it.

namespace {

FreeSpaceProbe &installedProbe()
{
    static FreeSpaceProbe probe = [](const QString &directory) -> qint64 {
        const QStorageInfo storage(directory);
        return storage.isValid() ? storage.bytesAvailable() : -1;
    };
    return probe;
}

constexpr size_t BufferSize = size_t(1) << 20;
// Raw data read straight from the map goes in pieces of this size.
constexpr size_t DirectPiece = size_t(4) << 20;

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : fd_(fd)
    {
    }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor(Descriptor &&other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// The archive, mapped read-only for the length of one extraction.
class MappedArchive {
public:
    ~MappedArchive()
    {
        if (data_)
            ::munmap(data_, size_);
    }
    // False when the archive is missing or not a regular file.
    bool open(const QString &path)
    {
        const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        size_ = size_t(st.st_size);
        if (size_ == 0)
            return true;
        void *data = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd.get(), 0);
        if (data == MAP_FAILED) {
            size_ = 0;
            return false;
        }
        data_ = data;
        ::madvise(data_, size_, MADV_SEQUENTIAL);
        return true;
    }
    const unsigned char *data() const { return static_cast<const unsigned char *>(data_); }
    size_t size() const { return size_; }

private:
    void *data_ = nullptr;
    size_t size_ = 0;
};

struct ZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileCloser>;

// Status for a libzip error met while reading a member's data.
int statusForZipError(int code)
{
    switch (code) {
    case ZIP_ER_CRC:
        return UnzipFormatError;
    case ZIP_ER_EOF:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return UnzipUnexpectedEnd;
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
        return UnzipUnsupported;
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_NOPASSWD:
        return UnzipWarning;
    default:
        return UnzipSevereError;
    }
}

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

// The closest directory that exists on the way to path (which may not exist yet).
QString existingAncestor(const QString &path)
{
    QFileInfo info(QDir::current().absoluteFilePath(path));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

bool writeAll(int fd, const unsigned char *data, size_t size, int &error)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Little-endian fields of the mapped archive.
quint64 le16(const unsigned char *p)
{
    return quint64(p[0]) | quint64(p[1]) << 8;
}
quint64 le32(const unsigned char *p)
{
    return le16(p) | le16(p + 2) << 16;
}
quint64 le64(const unsigned char *p)
{
    return le32(p) | le32(p + 4) << 32;
}

// Where a member's stored or compressed bytes lie in the mapped archive.
struct DataPlace {
    qint64 offset = -1; // -1: unknown
    quint64 compressedSize = 0;
    quint32 crc = 0;
};

// Reads the central directory and the local headers to find where every member's data
// starts, so stored and deflated members are read straight from the map without a copy.
// A place is used only where it agrees with what libzip read from the same directory;
// anything odd leaves it unknown and the member is read through libzip.
std::vector<DataPlace> locateData(const unsigned char *base, size_t size, zip_int64_t members)
{
    std::vector<DataPlace> places;
    if (size < 22 || members <= 0)
        return places;
    const size_t lowest = size > 22 + 0xffff ? size - 22 - 0xffff : 0;
    size_t end = size - 22;
    while (std::memcmp(base + end, "PK\5\6", 4) != 0) {
        if (end == lowest)
            return places;
        --end;
    }
    quint64 count = le16(base + end + 10);
    quint64 directorySize = le32(base + end + 12);
    quint64 directoryOffset = le32(base + end + 16);
    if (count == 0xffff || directorySize == 0xffffffff || directoryOffset == 0xffffffff) {
        if (end < 20 || std::memcmp(base + end - 20, "PK\6\7", 4) != 0)
            return places;
        const quint64 end64 = le64(base + end - 20 + 8);
        if (size < 56 || end64 > size - 56 || std::memcmp(base + end64, "PK\6\6", 4) != 0)
            return places;
        count = le64(base + end64 + 32);
        directorySize = le64(base + end64 + 40);
        directoryOffset = le64(base + end64 + 48);
    }
    if (count != quint64(members) || directoryOffset > size ||
        directorySize > size - directoryOffset)
        return places;

    places.resize(size_t(members));
    const quint64 directoryEnd = directoryOffset + directorySize;
    quint64 at = directoryOffset;
    for (DataPlace &place : places) {
        if (directoryEnd - at < 46 || std::memcmp(base + at, "PK\1\2", 4) != 0)
            break;
        const unsigned char *record = base + at;
        const quint64 nameLength = le16(record + 28);
        const quint64 extraLength = le16(record + 30);
        const quint64 recordSize = 46 + nameLength + extraLength + le16(record + 32);
        if (directoryEnd - at < recordSize)
            break;
        quint64 compressed = le32(record + 20);
        quint64 uncompressed = le32(record + 24);
        quint64 local = le32(record + 42);
        // The zip64 extra field holds, in this order, whichever of them overflowed.
        const unsigned char *extra = record + 46 + nameLength;
        const unsigned char *extraEnd = extra + extraLength;
        while (extraEnd - extra >= 4) {
            const quint64 id = le16(extra);
            const quint64 length = le16(extra + 2);
            const unsigned char *field = extra + 4;
            if (quint64(extraEnd - field) < length)
                break;
            if (id == 1) {
                const unsigned char *fieldEnd = field + length;
                for (quint64 *value : {&uncompressed, &compressed, &local}) {
                    if (*value == 0xffffffff && fieldEnd - field >= 8) {
                        *value = le64(field);
                        field += 8;
                    }
                }
            }
            extra += 4 + length;
        }
        at += recordSize;
        if (size < 30 || local > size - 30 || std::memcmp(base + local, "PK\3\4", 4) != 0)
            continue;
        const quint64 data = local + 30 + le16(base + local + 26) + le16(base + local + 28);
        if (data > size || compressed > size - data)
            continue;
        place.offset = qint64(data);
        place.compressedSize = compressed;
        place.crc = quint32(le32(record + 16));
    }
    return places;
}

struct Member {
    zip_uint64_t index = 0;
    zip_stat_t stat{};
    QString name;
    MemberPath path;
    bool encrypted = false;
    bool symlink = false;
    bool selected = false;
    bool hasPassword = false;
    QString password;
    qint64 dataOffset = -1; // where its raw data lies in the map; -1: read through libzip
};

// One extraction: the state of a single UnzipExtract call.
class Extraction {
public:
    Extraction(const UnzipOptions &options, UnzipCallbacks &callbacks)
        : options_(options)
        , callbacks_(callbacks)
    {
    }

    int run(int includeCount, const QString *includeNames, int excludeCount,
            const QString *excludeNames);

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
    void skip(const Member &member, const QString &why, int status)
    {
        warn(QStringLiteral("skipping: %1  %2").arg(member.name, why));
        note(status);
    }

    bool openArchive();
    void readMembers(int includeCount, const QString *includeNames, int excludeCount,
                     const QString *excludeNames);
    void list();
    void planFile(Member &member);
    bool prepareDirectory();
    int openFolders(const QStringList &folders, QString &why);
    void makeFolder(const Member &member);
    void extractFile(const Member &member);
    bool mayReplace(const Member &member, int parent);
    int copyData(const Member &member, int out, QString &why);
    int copyRaw(const Member &member, int out, QString &why);
    int copyDecoded(const Member &member, int out, QString &why);
    int writeOut(const unsigned char *data, size_t size, int out, QString &why);

    const UnzipOptions &options_;
    UnzipCallbacks &callbacks_;
    int status_ = UnzipOk;
    bool stopped_ = false;     // disk full: nothing more is written
    bool replaceNone_ = false; // the replace callback answered "overwrite no file"
    bool replaceAll_ = false;

    MappedArchive mapped_;
    ZipPtr zip_;
    std::vector<Member> members_;

    Descriptor root_;                   // the extraction directory
    std::vector<Descriptor> openChain_; // the open folders of the last member, outermost first
    QStringList chainNames_;            // and their names
    std::unique_ptr<unsigned char[]> in_;
    std::unique_ptr<unsigned char[]> out_;

    int filesSelected_ = 0;
    int filesExtracted_ = 0;
    int encryptedSkipped_ = 0;
};

int Extraction::run(int includeCount, const QString *includeNames, int excludeCount,
                    const QString *excludeNames)
{
    if (!openArchive())
        return status_;
    readMembers(includeCount, includeNames, excludeCount, excludeNames);
    if (members_.empty())
        return status_;
    if (options_.ListOnly) {
        list();
        return status_;
    }

    quint64 needed = 0;
    for (Member &member : members_) {
        if (member.selected && !member.path.folder) {
            planFile(member);
            if (member.selected)
                needed += member.stat.size;
        }
    }
    const QString target =
        options_.ExtractDir.isEmpty() ? QStringLiteral(".") : options_.ExtractDir;
    const qint64 available = UnzipFreeSpace(existingAncestor(target));
    if (available >= 0 && needed > quint64(available)) {
        warn(QStringLiteral("error: not enough room on the target volume: %1 bytes needed, "
                            "%2 available")
                 .arg(needed)
                 .arg(available));
        note(UnzipDiskFull);
        return status_;
    }
    if (!prepareDirectory())
        return status_;

    in_.reset(new unsigned char[BufferSize]);
    out_.reset(new unsigned char[BufferSize]);
    for (const Member &member : members_) {
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
    const QString &path = options_.ArchivePath;
    if (path.isEmpty() || !mapped_.open(path)) {
        warn(QStringLiteral("error: cannot find or open %1").arg(path));
        note(UnzipNotFound);
        return false;
    }
    zip_error_t error;
    zip_error_init(&error);
    if (mapped_.size() == 0) {
        warn(QStringLiteral("error: %1 is empty, not a zip archive").arg(path));
        note(UnzipNotFound);
        return false;
    }
    zip_source_t *source = zip_source_buffer_create(mapped_.data(), mapped_.size(), 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        if (source)
            zip_source_free(source);
        const int code = zip_error_code_zip(&error);
        zip_error_fini(&error);
        // A file that starts like a zip archive but has no central directory at its end
        // was cut short; anything else without one is not a zip archive at all.
        const bool zipStart = mapped_.size() >= 4 && std::memcmp(mapped_.data(), "PK\3\4", 4) == 0;
        if (code == ZIP_ER_NOZIP && zipStart) {
            warn(QStringLiteral("error: %1: the archive ends too early").arg(path));
            note(UnzipUnexpectedEnd);
        } else if (code == ZIP_ER_NOZIP) {
            warn(QStringLiteral("error: %1 is not a zip archive").arg(path));
            note(UnzipNotFound);
        } else if (code == ZIP_ER_MULTIDISK) {
            warn(QStringLiteral("error: %1 is part of a multi-part archive").arg(path));
            note(UnzipFormatError);
        } else {
            warn(QStringLiteral("error: %1: damaged archive (%2)")
                     .arg(path, QString::fromUtf8(zip_error_strerror(&error))));
            note(code == ZIP_ER_EOF || code == ZIP_ER_READ ? UnzipUnexpectedEnd : UnzipSevereError);
        }
        return false;
    }
    zip_error_fini(&error);
    zip_.reset(archive);
    return true;
}

void Extraction::readMembers(int includeCount, const QString *includeNames, int excludeCount,
                             const QString *excludeNames)
{
    includeCount = std::clamp(includeCount, 0, UnzipNameSlots);
    excludeCount = std::clamp(excludeCount, 0, UnzipNameSlots);
    if (!includeNames)
        includeCount = 0;
    if (!excludeNames)
        excludeCount = 0;
    const bool anyCase = options_.CaseInsensitive != 0;
    std::vector<bool> includeHit(size_t(includeCount), false);

    const zip_int64_t count = zip_get_num_entries(zip_.get(), 0);
    int commentLength = 0;
    callbacks_.HasComment =
        zip_get_archive_comment(zip_.get(), &commentLength, 0) && commentLength > 0;
    callbacks_.MemberCount = int(std::min<zip_int64_t>(count, INT_MAX));
    if (count <= 0) {
        warn(QStringLiteral("warning: %1: the archive is empty").arg(options_.ArchivePath));
        note(UnzipWarning);
        return;
    }
    members_.reserve(size_t(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        Member member;
        member.index = zip_uint64_t(i);
        // Strict: names flagged UTF-8 are UTF-8, all others code page 437.
        if (zip_stat_index(zip_.get(), member.index, ZIP_FL_ENC_STRICT, &member.stat) != 0 ||
            !(member.stat.valid & ZIP_STAT_NAME)) {
            warn(QStringLiteral("error: member %1 cannot be read").arg(i));
            note(UnzipSevereError);
            continue;
        }
        const zip_stat_t &st = member.stat;
        member.name = QString::fromUtf8(st.name);
        member.encrypted =
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(zip_.get(), member.index, 0, &system, &attributes) ==
                0 &&
            system == ZIP_OPSYS_UNIX)
            member.symlink = ((attributes >> 16) & S_IFMT) == S_IFLNK;
        member.path = ResolveMemberPath(member.name, options_.RecreateFolders != 0);
        callbacks_.TotalCompressedSize += st.comp_size;
        callbacks_.TotalUncompressedSize += st.size;

        bool selected = includeCount == 0;
        for (int k = 0; k < includeCount; ++k) {
            if (MatchesWildcard(includeNames[k], member.name, anyCase)) {
                includeHit[size_t(k)] = true;
                selected = true;
            }
        }
        for (int k = 0; selected && k < excludeCount; ++k) {
            if (MatchesWildcard(excludeNames[k], member.name, anyCase))
                selected = false;
        }
        member.selected = selected;
        members_.push_back(std::move(member));
    }
    const std::vector<DataPlace> places = locateData(mapped_.data(), mapped_.size(), count);
    for (Member &member : members_) {
        if (member.index >= places.size())
            break;
        const DataPlace &place = places[member.index];
        if (place.offset >= 0 && place.compressedSize == member.stat.comp_size &&
            place.crc == member.stat.crc)
            member.dataOffset = place.offset;
    }
    const quint64 total = callbacks_.TotalUncompressedSize;
    callbacks_.CompressionFactor =
        total == 0
            ? 0
            : int(std::max<qint64>(0, 100 - qint64(callbacks_.TotalCompressedSize * 100 / total)));
    for (int k = 0; k < includeCount; ++k) {
        if (!includeHit[size_t(k)]) {
            warn(QStringLiteral("caution: filename not matched:  %1").arg(includeNames[k]));
            note(UnzipNoMatch);
        }
    }
}

void Extraction::list()
{
    if (!callbacks_.Message)
        return;
    for (const Member &member : members_) {
        if (!member.selected)
            continue;
        const zip_stat_t &st = member.stat;
        std::tm when{};
        if (st.valid & ZIP_STAT_MTIME) {
            const std::time_t mtime = st.mtime;
            localtime_r(&mtime, &when);
        }
        const int factor =
            st.size == 0 ? 0 : int(std::max<qint64>(0, 100 - qint64(st.comp_size * 100 / st.size)));
        callbacks_.Message(st.size, st.comp_size, factor, when.tm_mon + 1, when.tm_mday,
                           when.tm_year + 1900, when.tm_hour, when.tm_min, ' ', member.name,
                           methodName(st.comp_method), st.crc, member.encrypted);
    }
}

// Decides whether a selected file member can be extracted at all; clears its selection,
// with a warning, when it cannot.
void Extraction::planFile(Member &member)
{
    ++filesSelected_;
    if (!member.path.safe) {
        skip(member,
             QStringLiteral("unsafe name (it would land outside the extraction "
                            "directory)"),
             UnzipWarning);
    } else if (member.symlink) {
        skip(member, QStringLiteral("symbolic link (links are not created)"), UnzipWarning);
    } else if (!zip_compression_method_supported(member.stat.comp_method, 0)) {
        skip(member,
             QStringLiteral("unsupported compression method %1").arg(member.stat.comp_method),
             UnzipUnsupported);
    } else if (member.encrypted) {
        QString password;
        const int answer =
            callbacks_.Password
                ? callbacks_.Password(password, QStringLiteral("Enter password for: "), member.name)
                : int(UnzipPasswordSkip);
        if (answer != UnzipPasswordGiven || password.isEmpty()) {
            ++encryptedSkipped_;
            skip(member, QStringLiteral("encrypted (no password)"), UnzipWarning);
        } else if (!zip_encryption_method_supported(member.stat.encryption_method, 0)) {
            skip(member, QStringLiteral("unsupported encryption"), UnzipUnsupported);
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
        warn(QStringLiteral("error: cannot create the extraction directory %1").arg(target));
        note(UnzipSevereError);
        return false;
    }
    root_ = Descriptor(
        ::open(QFile::encodeName(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root_.get() < 0) {
        warn(QStringLiteral("error: cannot open the extraction directory %1: %2")
                 .arg(target, systemError(errno)));
        note(UnzipSevereError);
        return false;
    }
    return true;
}

// Opens (creating as needed) the folders under the extraction directory; returns a
// descriptor that stays valid until the next call, or -1 with the reason.
int Extraction::openFolders(const QStringList &folders, QString &why)
{
    // The folders of the last member stay open: a member in the same folder, or a
    // neighbouring one, opens only the components that differ.
    qsizetype common = 0;
    while (common < folders.size() && common < qsizetype(openChain_.size()) &&
           folders.at(common) == chainNames_.at(common))
        ++common;
    openChain_.resize(size_t(common));
    chainNames_ = chainNames_.mid(0, common);
    for (qsizetype i = common; i < folders.size(); ++i) {
        const QString &folder = folders.at(i);
        const QByteArray name = QFile::encodeName(folder);
        const int parent = openChain_.empty() ? root_.get() : openChain_.back().get();
        const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int fd = ::openat(parent, name.constData(), flags);
        if (fd < 0 && errno == ENOENT) {
            if (::mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST) {
                why = QStringLiteral("cannot create folder %1: %2").arg(folder, systemError(errno));
                return -1;
            }
            fd = ::openat(parent, name.constData(), flags);
        }
        if (fd < 0) {
            why = errno == ELOOP || errno == ENOTDIR
                      ? QStringLiteral("%1 is a link or a file on disk, not a folder").arg(folder)
                      : QStringLiteral("cannot open folder %1: %2").arg(folder, systemError(errno));
            return -1;
        }
        openChain_.emplace_back(fd);
        chainNames_.append(folder);
    }
    return openChain_.empty() ? root_.get() : openChain_.back().get();
}

void Extraction::makeFolder(const Member &member)
{
    if (!member.path.safe) {
        skip(member,
             QStringLiteral("unsafe name (it would land outside the extraction "
                            "directory)"),
             UnzipWarning);
        return;
    }
    if (member.path.folders.isEmpty())
        return; // flattened, or the extraction directory itself
    QString why;
    if (openFolders(member.path.folders, why) < 0) {
        skip(member, why, UnzipWarning);
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
    const int parent = openFolders(member.path.folders, why);
    if (parent < 0) {
        skip(member, why, UnzipWarning);
        return;
    }
    if (!mayReplace(member, parent))
        return;

    // Written aside under a name no member has, renamed into place once complete.
    QByteArray temporary;
    Descriptor out;
    for (int attempt = 0; attempt < 16 && out.get() < 0; ++attempt) {
        temporary = QByteArray(".zk-") +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".part";
        out = Descriptor(::openat(parent, temporary.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (out.get() < 0 && errno != EEXIST)
            break;
    }
    if (out.get() < 0) {
        const int error = errno;
        if (error == ENOSPC || error == EDQUOT) {
            warn(QStringLiteral("error: %1: disk full").arg(member.name));
            note(UnzipDiskFull);
            stopped_ = true;
        } else {
            skip(member, QStringLiteral("cannot create a file: %1").arg(systemError(error)),
                 UnzipWarning);
        }
        return;
    }

    const int status = copyData(member, out.get(), why);
    if (status == UnzipOk && (member.stat.valid & ZIP_STAT_MTIME)) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {member.stat.mtime, 0}};
        ::futimens(out.get(), times);
    }
    out.reset();
    if (status != UnzipOk) {
        ::unlinkat(parent, temporary.constData(), 0);
        if (status == UnzipWarning) {
            ++encryptedSkipped_;
            skip(member, why, status);
        } else {
            warn(QStringLiteral("error: %1: %2").arg(member.name, why));
            note(status);
        }
        if (status == UnzipDiskFull)
            stopped_ = true;
        return;
    }
    const QByteArray name = QFile::encodeName(member.path.fileName);
    if (::renameat(parent, temporary.constData(), parent, name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(parent, temporary.constData(), 0);
        skip(member, QStringLiteral("cannot put the file in place: %1").arg(systemError(error)),
             UnzipWarning);
        return;
    }
    ++filesExtracted_;
    info(QStringLiteral("%1: %2").arg(member.stat.comp_method == ZIP_CM_STORE
                                          ? QStringLiteral(" extracting")
                                          : QStringLiteral("  inflating"),
                                      member.path.relative()));
}

int Extraction::copyData(const Member &member, int out, QString &why)
{
    const int method = member.stat.comp_method;
    if (!member.encrypted && (method == ZIP_CM_STORE || method == ZIP_CM_DEFLATE))
        return copyRaw(member, out, why);
    return copyDecoded(member, out, why);
}

int Extraction::writeOut(const unsigned char *data, size_t size, int out, QString &why)
{
    int error = 0;
    if (writeAll(out, data, size, error))
        return UnzipOk;
    why = error == ENOSPC || error == EDQUOT
              ? QStringLiteral("disk full")
              : QStringLiteral("write error: %1").arg(systemError(error));
    return UnzipDiskFull;
}

// Stored and deflated members: raw data straight from the map (or from libzip when its
// place is unknown), inflated and checked here.
int Extraction::copyRaw(const Member &member, int out, QString &why)
{
    ZipFilePtr file;
    if (member.dataOffset < 0) {
        file.reset(zip_fopen_index(zip_.get(), member.index, ZIP_FL_COMPRESSED));
        if (!file) {
            const int code = zip_error_code_zip(zip_get_error(zip_.get()));
            why = QString::fromUtf8(zip_strerror(zip_.get()));
            return statusForZipError(code);
        }
    }
    quint64 rawLeft = member.stat.comp_size;
    const unsigned char *direct =
        member.dataOffset >= 0 ? mapped_.data() + member.dataOffset : nullptr;
    // The next piece of raw data; got 0 at the end, -1 on a read error.
    const auto nextPiece = [&](const unsigned char *&piece) -> zip_int64_t {
        if (direct) {
            const size_t size = size_t(std::min<quint64>(rawLeft, DirectPiece));
            piece = direct;
            direct += size;
            rawLeft -= size;
            return zip_int64_t(size);
        }
        piece = in_.get();
        return zip_fread(file.get(), in_.get(), BufferSize);
    };

    const quint64 declared = member.stat.size;
    const bool stored = member.stat.comp_method == ZIP_CM_STORE;
    quint64 produced = 0;
    uLong crc = crc32(0, nullptr, 0);

    z_stream stream{};
    if (!stored && inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        why = QStringLiteral("out of memory");
        return UnzipSevereError;
    }
    struct InflateEnd {
        z_stream *stream;
        bool active;
        ~InflateEnd()
        {
            if (active)
                inflateEnd(stream);
        }
    } inflateEnd{&stream, !stored};

    const auto tooLarge = [&why] {
        why = QStringLiteral("the data is larger than its declared size");
        return UnzipSevereError;
    };
    bool ended = false;
    while (!ended) {
        const unsigned char *piece = nullptr;
        const zip_int64_t got = nextPiece(piece);
        if (got < 0) {
            why = QString::fromUtf8(zip_file_strerror(file.get()));
            return statusForZipError(zip_error_code_zip(zip_file_get_error(file.get())));
        }
        if (got == 0) {
            if (stored)
                break;
            why = QStringLiteral("the compressed data ends too early");
            return UnzipSevereError;
        }
        if (stored) {
            produced += quint64(got);
            if (produced > declared)
                return tooLarge();
            crc = crc32_z(crc, piece, size_t(got));
            if (const int status = writeOut(piece, size_t(got), out, why))
                return status;
            continue;
        }
        stream.next_in = const_cast<Bytef *>(piece);
        stream.avail_in = uInt(got);
        for (;;) {
            stream.next_out = out_.get();
            stream.avail_out = uInt(BufferSize);
            const int rc = inflate(&stream, Z_NO_FLUSH);
            const size_t have = BufferSize - stream.avail_out;
            if (have > 0) {
                produced += have;
                if (produced > declared)
                    return tooLarge();
                crc = crc32_z(crc, out_.get(), have);
                if (const int status = writeOut(out_.get(), have, out, why))
                    return status;
            }
            if (rc == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (rc == Z_BUF_ERROR)
                break;
            if (rc != Z_OK) {
                why = QStringLiteral("corrupt compressed data");
                return UnzipSevereError;
            }
            if (stream.avail_in == 0 && stream.avail_out > 0)
                break;
        }
    }
    if (produced != declared) {
        why = QStringLiteral("the data is shorter than its declared size");
        return UnzipSevereError;
    }
    if ((member.stat.valid & ZIP_STAT_CRC) && crc != member.stat.crc) {
        why = QStringLiteral("bad CRC");
        return UnzipFormatError;
    }
    return UnzipOk;
}

// Every other method, and encrypted members with a password: libzip decodes and checks.
int Extraction::copyDecoded(const Member &member, int out, QString &why)
{
    const QByteArray password = member.password.toUtf8();
    const ZipFilePtr file(zip_fopen_index_encrypted(
        zip_.get(), member.index, 0, member.hasPassword ? password.constData() : nullptr));
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(zip_.get()));
        why = code == ZIP_ER_WRONGPASSWD ? QStringLiteral("wrong password")
                                         : QString::fromUtf8(zip_strerror(zip_.get()));
        return statusForZipError(code);
    }
    quint64 produced = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), out_.get(), BufferSize);
        if (got < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file.get()));
            why = code == ZIP_ER_WRONGPASSWD ? QStringLiteral("wrong password")
                                             : QString::fromUtf8(zip_file_strerror(file.get()));
            return code == ZIP_ER_WRONGPASSWD ? int(UnzipWarning) : statusForZipError(code);
        }
        if (got == 0)
            break;
        produced += quint64(got);
        if (produced > member.stat.size) {
            why = QStringLiteral("the data is larger than its declared size");
            return UnzipSevereError;
        }
        if (const int status = writeOut(out_.get(), size_t(got), out, why))
            return status;
    }
    if (produced != member.stat.size) {
        why = QStringLiteral("the data is shorter than its declared size");
        return UnzipSevereError;
    }
    return UnzipOk;
}

} // namespace

FreeSpaceProbe SetFreeSpaceProbe(FreeSpaceProbe probe)
{
    return std::exchange(installedProbe(), std::move(probe));
}

qint64 UnzipFreeSpace(const QString &directory)
{
    const FreeSpaceProbe &probe = installedProbe();
    return probe ? probe(directory) : -1;
}

int UnzipExtract(int includeCount, const QString *includeNames, int excludeCount,
                 const QString *excludeNames, const UnzipOptions &options,
                 UnzipCallbacks &callbacks)
{
    callbacks.TotalCompressedSize = 0;
    callbacks.TotalUncompressedSize = 0;
    callbacks.CompressionFactor = 0;
    callbacks.MemberCount = 0;
    callbacks.HasComment = false;
    Extraction extraction(options, callbacks);
    return extraction.run(includeCount, includeNames, excludeCount, excludeNames);
}
