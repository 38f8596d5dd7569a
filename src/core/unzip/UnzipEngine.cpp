#include "core/unzip/ArchiveListing.h"
#include "core/unzip/FolderChain.h"
#include "core/unzip/FreeSpace.h"
#include "core/unzip/MemberData.h"
#include "core/unzip/MemberWriter.h"
#include "core/unzip/UnzipNames.h"
#include "core/unzip/UnzipStatus.h"
#include "core/unzip/VBUnzBas.h"
#include "core/unzip/ZipDirectory.h"

#include <QDir>
#include <QFile>

#include <zip.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <memory>

// The extraction engine behind the bridge, on libzip. Every member is written under a
// temporary name in its folder and renamed into place once complete and checked; nothing
// is ever written outside the extraction directory.
//
// The archive's directory is read once, by ZipDirectory, and every member is extracted by
// what it says; libzip opens the archive beside it and must list the same members, so a
// player checking the archive with another tool sees what the program extracts. Stored and
// deflated members, the common case, are copied or inflated here; every other method goes
// through libzip's own decoding. Only the status is kept: the reasons the parts give for a
// refusal are not reported.

namespace {

// One extraction: the state of a single UnzipArchive call.
class Extraction {
public:
    Extraction(const QString &archivePath, const QString &extractDir)
        : archivePath_(archivePath)
        , extractDir_(extractDir)
    {
    }
    int run();

private:
    void note(int status) { status_ = std::max(status_, status); }

    bool openArchive();
    void planFile(Member &member);
    bool prepareDirectory();
    void makeFolder(const Member &member);
    void extractFile(const Member &member);
    bool mayReplace(const Member &member, int parent);
    int copyData(const Member &member, int out, QString &why);

    const QString archivePath_;
    const QString extractDir_;
    int status_ = UnzipOk;
    bool stopped_ = false; // disk full: nothing more is written

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
    const qint64 available = UnzipFreeSpace(ExistingAncestor(extractDir_));
    if (available >= 0 && needed > quint64(available)) {
        note(UnzipDiskFull); // not enough room on the target volume
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
    if (const int status = archive_.open(archivePath_, why)) {
        note(status);
        return false;
    }
    if (archive_.members.empty()) {
        note(UnzipWarning);
        return false;
    }
    return true;
}

// Decides whether a file member can be extracted at all; clears its selection when it
// cannot.
void Extraction::planFile(Member &member)
{
    ++filesSelected_;
    const ZipEntry &entry = member.entry;
    int status = UnzipOk;
    if (!member.path.unsafe.isEmpty()) {
        status = UnzipWarning;
    } else if (entry.problem != 0) {
        status = entry.problem;
    } else if (member.symlink) {
        status = UnzipWarning; // links are not created
    } else if (entry.encrypted()) {
        ++encryptedSkipped_; // there is no password to give
        status = UnzipWarning;
    } else if (!zip_compression_method_supported(entry.method, 0)) {
        status = UnzipUnsupported;
    }
    note(status);
    member.selected = status == UnzipOk;
}

bool Extraction::prepareDirectory()
{
    root_ = OpenExtractionRoot(extractDir_);
    if (root_.get() < 0) {
        note(UnzipSevereError);
        return false;
    }
    return true;
}

void Extraction::makeFolder(const Member &member)
{
    if (!member.path.unsafe.isEmpty()) {
        note(UnzipWarning);
        return;
    }
    if (member.path.folders.isEmpty())
        return; // the extraction directory itself
    QString why;
    int status = UnzipOk;
    if (folders_->open(member.path.folders, why, status) < 0)
        note(status);
}

// Whether the member may be written where it lands: a file there is replaced, a folder
// is not.
bool Extraction::mayReplace(const Member &member, int parent)
{
    if (FolderStandsAt(parent, member.path.fileName)) {
        note(UnzipWarning);
        return false;
    }
    return true;
}

void Extraction::extractFile(const Member &member)
{
    QString why;
    int status = UnzipOk;
    const int parent = folders_->open(member.path.folders, why, status);
    if (parent < 0) {
        note(status);
        return;
    }
    if (!mayReplace(member, parent))
        return;
    status = WriteMemberFile(
        parent, member.path.fileName, member.mtime,
        [this, &member](int out, QString &reason) { return copyData(member, out, reason); }, why);
    note(status);
    if (status == UnzipOk)
        ++filesExtracted_;
    // A full disk or a volume that refuses writes: the next members would fail alike.
    stopped_ = status == UnzipDiskFull;
}

// Encrypted members never come here: they are skipped.
int Extraction::copyData(const Member &member, int out, QString &why)
{
    const ZipEntry &entry = member.entry;
    if (entry.method == ZIP_CM_STORE)
        return CopyStored(archive_.file, entry, out, *buffers_, why);
    if (entry.method == ZIP_CM_DEFLATE)
        return CopyDeflated(archive_.file, entry, out, *buffers_, why);
    return CopyThroughLibzip(archive_.zip.get(), member.index, entry.size, out, *buffers_, why);
}

} // namespace

int UnzipArchive(const QString &archivePath, const QString &extractDir)
{
    Extraction extraction(archivePath, extractDir);
    return extraction.run();
}
