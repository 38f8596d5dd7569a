#include "core/unzip/LibArchiveExtract.h"

#include "core/common/CoreText.h"
#include "core/unzip/FolderChain.h"
#include "core/unzip/FreeSpace.h"
#include "core/unzip/LibArchiveReader.h"
#include "core/unzip/MemberWriter.h"
#include "core/unzip/UnzipNames.h"
#include "core/unzip/UnzipStatus.h"

#include <QDir>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>
#include <vector>

// Two passes over the archive: the first reads the headers alone (a 7-Zip archive lists
// them all at its end, so nothing is decompressed) and decides what is extracted and how
// much room it needs; the second extracts. Both see the same entries in the same order,
// or the second stops.

namespace {

// One entry as the first pass decided.
struct Planned {
    QString name; // as EntryName gave it; empty when it had none
    MemberPath path;
    qint64 size = -1; // declared, when the format gives it
    std::time_t mtime = -1;
    bool selected = false;
};

class LibArchiveExtraction {
public:
    LibArchiveExtraction(const QString &archivePath, const QString &extractDir)
        : archivePath_(archivePath)
        , extractDir_(extractDir)
    {
    }
    int run();

private:
    void note(int status) { status_ = std::max(status_, status); }
    bool plan();
    Planned planEntry(archive_entry *entry);
    bool prepareDirectory();
    void extract();
    void extractFile(LibArchiveReader &reader, const Planned &member);
    int copyData(LibArchiveReader &reader, const Planned &member, int out, QString &why);

    const QString archivePath_;
    const QString extractDir_;
    int status_ = UnzipOk;
    std::vector<Planned> members_;
    quint64 needed_ = 0;
    Descriptor root_;
    std::unique_ptr<FolderChain> folders_;
    int filesSelected_ = 0;
    int filesExtracted_ = 0;
    int encryptedSkipped_ = 0;
};

int LibArchiveExtraction::run()
{
    if (!plan())
        return status_;
    if (members_.empty()) {
        note(UnzipWarning);
        return status_;
    }
    const qint64 available = UnzipFreeSpace(ExistingAncestor(extractDir_));
    if (available >= 0 && needed_ > quint64(available)) {
        note(UnzipDiskFull);
        return status_;
    }
    if (!prepareDirectory())
        return status_;
    extract();
    if (filesExtracted_ == 0 && encryptedSkipped_ > 0 && encryptedSkipped_ == filesSelected_)
        note(UnzipAllEncrypted);
    return status_;
}

// The first pass. An archive whose headers cannot all be read is not extracted at all,
// as a zip archive whose directory cannot be read.
bool LibArchiveExtraction::plan()
{
    LibArchiveReader reader;
    QString why;
    if (const int status = reader.open(archivePath_, why)) {
        note(status);
        return false;
    }
    int status = UnzipOk;
    while (archive_entry *entry = reader.next(status, why)) {
        Planned member = planEntry(entry);
        // Declared sizes are the archive's word: the sum saturates rather than wrapping.
        if (member.selected && member.size > 0 &&
            qAddOverflow(needed_, quint64(member.size), &needed_))
            needed_ = std::numeric_limits<quint64>::max();
        members_.push_back(std::move(member));
    }
    note(status);
    return status == UnzipOk;
}

Planned LibArchiveExtraction::planEntry(archive_entry *entry)
{
    Planned member;
    const std::optional<QString> name = EntryName(entry);
    const mode_t type = archive_entry_filetype(entry);
    if (archive_entry_mtime_is_set(entry))
        member.mtime = archive_entry_mtime(entry);
    if (archive_entry_size_is_set(entry))
        member.size = archive_entry_size(entry);
    if (name) {
        member.name = *name;
        // A folder entry's name need not end in "/".
        member.path = ResolveMemberPath(type == AE_IFDIR ? *name + u'/' : *name);
    }
    if (type == AE_IFDIR) {
        member.selected = name && member.path.unsafe.isEmpty();
        if (!member.selected)
            note(UnzipWarning);
        return member;
    }
    ++filesSelected_;
    int status = UnzipOk;
    if (!name || !member.path.unsafe.isEmpty())
        status = UnzipWarning; // undecodable or unsafe
    else if (type != AE_IFREG || archive_entry_hardlink(entry) != nullptr)
        status = UnzipWarning; // links, devices, FIFOs and sockets are never made
    else if (archive_entry_is_data_encrypted(entry) || archive_entry_is_metadata_encrypted(entry))
        status = (++encryptedSkipped_, UnzipWarning); // there is no password to give
    note(status);
    member.selected = status == UnzipOk;
    return member;
}

bool LibArchiveExtraction::prepareDirectory()
{
    root_ = OpenExtractionRoot(extractDir_);
    if (root_.get() < 0) {
        note(UnzipSevereError);
        return false;
    }
    folders_ = std::make_unique<FolderChain>(root_.get());
    return true;
}

// The second pass.
void LibArchiveExtraction::extract()
{
    LibArchiveReader reader;
    QString why;
    if (const int status = reader.open(archivePath_, why)) {
        note(status);
        return;
    }
    for (const Planned &member : members_) {
        int status = UnzipOk;
        archive_entry *entry = reader.next(status, why);
        if (!entry || EntryName(entry).value_or(QString()) != member.name) {
            note(entry ? UnzipSevereError : std::max(status, int(UnzipSevereError)));
            return; // the archive changed since the first pass
        }
        if (!member.selected)
            continue;
        if (member.path.folder) {
            if (!member.path.folders.isEmpty() &&
                folders_->open(member.path.folders, why, status) < 0)
                note(status);
            continue;
        }
        extractFile(reader, member);
        if (status_ == UnzipDiskFull)
            return; // a full disk or a volume that refuses writes: the next would fail alike
    }
}

void LibArchiveExtraction::extractFile(LibArchiveReader &reader, const Planned &member)
{
    QString why;
    int status = UnzipOk;
    const int parent = folders_->open(member.path.folders, why, status);
    if (parent < 0) {
        note(status);
        return;
    }
    if (FolderStandsAt(parent, member.path.fileName)) {
        note(UnzipWarning);
        return;
    }
    status = WriteMemberFile(
        parent, member.path.fileName, member.mtime,
        [&](int out, QString &reason) { return copyData(reader, member, out, reason); }, why);
    note(status);
    if (status == UnzipOk)
        ++filesExtracted_;
}

// libarchive checks each member's CRC as its last bytes are read: an error then is a
// format error, unless the file ended first.
int LibArchiveExtraction::copyData(LibArchiveReader &reader, const Planned &member, int out,
                                   QString &why)
{
    qint64 position = 0;
    for (int empty = 0;;) {
        const void *block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int result = archive_read_data_block(reader.get(), &block, &size, &offset);
        if (result == ARCHIVE_EOF)
            break;
        if (result != ARCHIVE_OK)
            return reader.failure(UnzipFormatError, why);
        qint64 end = 0;
        if (offset < position || qAddOverflow(qint64(offset), qint64(size), &end) ||
            (member.size >= 0 && end > member.size)) {
            why = zanku::CoreText::tr("the member's data disagrees with its declared size");
            return UnzipSevereError;
        }
        if (size == 0 && ++empty > 4096) {
            why = zanku::CoreText::tr("the member's data makes no progress");
            return UnzipSevereError;
        }
        if (offset > position && ::lseek(out, off_t(offset), SEEK_SET) < 0)
            return WriteFailure(errno, why);
        if (const int status = WriteAll(out, static_cast<const unsigned char *>(block), size, why))
            return status;
        position = end;
    }
    if (member.size >= 0 && position != member.size) {
        why = zanku::CoreText::tr("the member's data is shorter than declared");
        return UnzipSevereError;
    }
    return UnzipOk;
}

} // namespace

int ExtractWithLibArchive(const QString &archivePath, const QString &extractDir)
{
    LibArchiveExtraction extraction(archivePath, extractDir);
    return extraction.run();
}
