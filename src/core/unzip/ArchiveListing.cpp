#include "core/unzip/ArchiveListing.h"

#include "core/common/CoreText.h"
#include "core/unzip/MemberName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Whether libzip's account of member index is the entry's: same name bytes, sizes, CRC
// and method (an AES entry's method is the one inside its extra field, so not compared).
bool libzipAgrees(zip_t *archive, zip_uint64_t index, const ZipEntry &entry)
{
    zip_stat_t st;
    if (zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &st) != 0 || !st.name)
        return false;
    return QByteArray(st.name) == entry.rawName && st.size == entry.size &&
           st.comp_size == entry.compressedSize && st.crc == entry.crc &&
           (entry.method == 99 || st.comp_method == entry.method);
}

// libzip reads the archive through its own stream on a duplicate of the descriptor.
zip_t *openWithLibzip(const ArchiveFile &file, zip_error_t &error)
{
    const int fd = ::fcntl(file.fd(), F_DUPFD_CLOEXEC, 0);
    FILE *stream = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (!stream) {
        if (fd >= 0)
            ::close(fd);
        zip_error_set(&error, ZIP_ER_OPEN, errno);
        return nullptr;
    }
    zip_source_t *source = zip_source_filep_create(stream, 0, -1, &error);
    if (!source) {
        std::fclose(stream);
        return nullptr;
    }
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive)
        zip_source_free(source);
    return archive;
}

} // namespace

int ArchiveListing::open(const QString &path, QString &why)
{
    if (!file.open(path, why))
        return 9;
    if (file.size() == 0) {
        why = zanku::CoreText::tr("%1 is empty, not a zip archive").arg(path);
        return 9;
    }
    zip_error_t error;
    zip_error_init(&error);
    zip.reset(openWithLibzip(file, error));
    const int code = zip_error_code_zip(&error);
    const QString detail = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    if (!zip) {
        // A file that starts like a zip archive but has no central directory at its end
        // was cut short; anything else without one is not a zip archive at all.
        char start[4] = {};
        const bool zipStart = file.readAt(0, start, 4) && std::memcmp(start, "PK\3\4", 4) == 0;
        if (code == ZIP_ER_NOZIP) {
            why = zipStart ? zanku::CoreText::tr("%1: the archive ends too early").arg(path)
                           : zanku::CoreText::tr("%1 is not a zip archive").arg(path);
            return zipStart ? 51 : 9;
        }
        if (code == ZIP_ER_MULTIDISK) {
            why = zanku::CoreText::tr("%1 is part of a multi-part archive").arg(path);
            return 2;
        }
        why = zanku::CoreText::tr("%1: damaged archive (%2)").arg(path, detail);
        return code == ZIP_ER_EOF || code == ZIP_ER_READ ? 51 : 3;
    }

    std::vector<ZipEntry> entries;
    if (const int status = ReadZipDirectory(file, entries, why)) {
        why = QStringLiteral("%1: %2").arg(path, why);
        return status;
    }
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count < 0 || quint64(count) != entries.size()) {
        why = QStringLiteral("%1: %2").arg(path, zanku::CoreText::tr(DisagreeText));
        return 3;
    }
    members.reserve(entries.size());
    for (zip_uint64_t i = 0; i < entries.size(); ++i) {
        Member member;
        member.index = i;
        member.entry = std::move(entries[i]);
        ZipEntry &entry = member.entry;
        zip_stat_t st;
        const std::optional<QString> name = MemberName(zip.get(), i, st);
        member.name = name ? *name : QString::fromLatin1(entry.rawName);
        if (name && (st.valid & ZIP_STAT_MTIME))
            member.mtime = st.mtime;
        if (entry.problem == 0 && !libzipAgrees(zip.get(), i, entry)) {
            entry.problem = 3;
            entry.why = zanku::CoreText::tr(DisagreeText);
        }
        member.symlink =
            entry.system == ZIP_OPSYS_UNIX && ((entry.attributes >> 16) & S_IFMT) == S_IFLNK;
        member.path = ResolveMemberPath(member.name);
        members.push_back(std::move(member));
    }
    return 0;
}
