#include "core/unzip/LibArchiveReader.h"

#include "core/common/CoreText.h"

#include <archive.h>
#include <archive_entry.h>

#include <QtEndian>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr size_t BlockSize = 1 << 20;

la_ssize_t readBlock(archive *, void *data, const void **block)
{
    auto *source = static_cast<LibArchiveReader::Source *>(data);
    char *buffer = source->buffer.data();
    for (;;) {
        const ssize_t got =
            ::pread(source->file.fd(), buffer, source->buffer.size(), off_t(source->offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        source->endReached = source->endReached || got == 0;
        source->offset += quint64(got);
        *block = buffer;
        return got;
    }
}

// Seeking past the end is allowed, as on any file: the next read then finds nothing.
la_int64_t seekTo(archive *, void *data, la_int64_t offset, int whence)
{
    auto *source = static_cast<LibArchiveReader::Source *>(data);
    const qint64 base = whence == SEEK_SET   ? 0
                        : whence == SEEK_CUR ? qint64(source->offset)
                                             : qint64(source->file.size());
    qint64 target = 0;
    if (qAddOverflow(base, qint64(offset), &target) || target < 0)
        return ARCHIVE_FATAL;
    source->offset = quint64(target);
    return target;
}

la_int64_t skipAhead(archive *reader, void *data, la_int64_t request)
{
    const auto *source = static_cast<LibArchiveReader::Source *>(data);
    const la_int64_t from = la_int64_t(source->offset);
    const la_int64_t to = seekTo(reader, data, request, SEEK_CUR);
    return to < 0 ? 0 : to - from;
}

// A 7-Zip archive says at its start where its header lies, at its end: a file that ends
// before that (or before the start is whole) was cut short.
bool sevenZipCut(const ArchiveFile &file)
{
    static const unsigned char Signature[] = {'7', 'z', 0xbc, 0xaf, 0x27, 0x1c};
    unsigned char start[32] = {};
    const size_t have = size_t(std::min<quint64>(file.size(), sizeof start));
    if (!file.readAt(0, start, have) || std::memcmp(start, Signature, std::min<size_t>(have, 6)))
        return false;
    if (have < sizeof start)
        return true;
    const quint64 offset = qFromLittleEndian<quint64>(start + 12);
    const quint64 length = qFromLittleEndian<quint64>(start + 20);
    quint64 end = 0;
    return !qAddOverflow(offset, length, &end) && !qAddOverflow(end, quint64(32), &end) &&
           end > file.size();
}

// Asked only once a format was recognised: before, libarchive has no format to ask.
bool encryptedStop(archive *reader)
{
    return archive_format(reader) != 0 && archive_read_has_encrypted_entries(reader) > 0;
}

} // namespace

bool IsLibArchiveName(const QString &archivePath)
{
    return archivePath.endsWith(QLatin1String(".7z"), Qt::CaseInsensitive) ||
           archivePath.endsWith(QLatin1String(".rar"), Qt::CaseInsensitive);
}

void LibArchiveReader::Closer::operator()(archive *reader) const
{
    archive_read_free(reader);
}

LibArchiveReader::LibArchiveReader() = default;
LibArchiveReader::~LibArchiveReader() = default;

int LibArchiveReader::open(const QString &path, QString &why)
{
    if (!source_.file.open(path, why))
        return 9;
    if (source_.file.size() == 0) {
        why = zanku::CoreText::tr("%1 is empty, not an archive").arg(path);
        return 9;
    }
    source_.buffer.resize(BlockSize);
    archive_.reset(archive_read_new());
    archive *reader = archive_.get();
    if (!reader) {
        why = zanku::CoreText::tr("out of memory");
        return 3;
    }
    archive_read_support_format_7zip(reader);
    archive_read_support_format_rar(reader);
    archive_read_support_format_rar5(reader);
    archive_read_set_callback_data(reader, &source_);
    archive_read_set_read_callback(reader, readBlock);
    archive_read_set_seek_callback(reader, seekTo);
    archive_read_set_skip_callback(reader, skipAhead);
    if (archive_read_open1(reader) == ARCHIVE_OK)
        return 0;
    // Nothing recognised in the first bytes: not an archive of these formats at all.
    const int status = failure(archive_format(reader) == 0 ? 9 : 3, why);
    why = QStringLiteral("%1: %2").arg(path, why);
    return status;
}

archive_entry *LibArchiveReader::next(int &status, QString &why)
{
    archive_entry *entry = nullptr;
    const int result = archive_read_next_header(archive_.get(), &entry);
    status = 0;
    if (result == ARCHIVE_OK || result == ARCHIVE_WARN)
        return entry; // a warning is a name the locale cannot decode: EntryName says so
    if (result != ARCHIVE_EOF) {
        status = failure(3, why);
    } else if (source_.offset > source_.file.size()) {
        // A RAR archive may end without its end block, but not inside an entry's data.
        why = zanku::CoreText::tr("the archive ends too early");
        status = 51;
    }
    return nullptr;
}

int LibArchiveReader::failure(int otherwise, QString &why) const
{
    archive *reader = archive_.get();
    const char *text = reader ? archive_error_string(reader) : nullptr;
    why = text ? QString::fromLocal8Bit(text) : zanku::CoreText::tr("unreadable archive");
    if (source_.endReached || sevenZipCut(source_.file))
        return 51;
    if (reader && encryptedStop(reader))
        return 82;
    return otherwise;
}

std::optional<QString> EntryName(archive_entry *entry)
{
    const char *name = archive_entry_pathname_utf8(entry);
    if (!name || !*name)
        return std::nullopt;
    return QString::fromUtf8(name);
}
