#include "core/unzip/ArchiveMembers.h"

#include "core/unzip/LibArchiveReader.h"
#include "core/unzip/MemberName.h"

#include <QFile>

#include <archive_entry.h>
#include <sys/stat.h>

namespace {

// A 7-Zip or RAR archive's files, read as the extraction reads them. Links, devices and
// FIFOs are listed as links: the extraction makes none of them.
ArchiveMemberList readLibArchiveMembers(const QString &archivePath)
{
    ArchiveMemberList list;
    LibArchiveReader reader;
    QString why;
    int status = reader.open(archivePath, why);
    while (archive_entry *entry = status == 0 ? reader.next(status, why) : nullptr) {
        const std::optional<QString> name = EntryName(entry);
        const mode_t type = archive_entry_filetype(entry);
        if (!name || type == AE_IFDIR)
            continue;
        const bool plain = type == AE_IFREG && archive_entry_hardlink(entry) == nullptr;
        list.members.push_back(
            {*name, uint64_t(qMax<la_int64_t>(archive_entry_size(entry), 0)), !plain});
    }
    if (status != 0)
        list.error = why;
    return list;
}

} // namespace

ArchiveMemberList ReadArchiveMembers(const QString &archivePath)
{
    if (IsLibArchiveName(archivePath))
        return readLibArchiveMembers(archivePath);
    ArchiveMemberList list;
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        list.error = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        return list;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    list.members.reserve(size_t(count > 0 ? count : 0));
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        const std::optional<QString> name = MemberName(archive, zip_uint64_t(index), stat);
        if (!name || name->endsWith(u'/'))
            continue; // unreadable, or a folder entry
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        const bool symlink = zip_file_get_external_attributes(archive, zip_uint64_t(index), 0,
                                                              &system, &attributes) == 0 &&
                             system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
        list.members.push_back(
            {*name, (stat.valid & ZIP_STAT_SIZE) ? uint64_t(stat.size) : 0, symlink});
    }
    zip_discard(archive);
    return list;
}
