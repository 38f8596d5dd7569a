#include "core/import/ImportArchives.h"

#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/common/CoreText.h"
#include "core/files/FileNames.h"
#include "core/unzip/ArchiveMembers.h"
#include "core/unzip/UnzipNames.h"

#include <QFile>

#include <algorithm>

namespace {
// Why the extraction would not write the member where the launch looks for it, or
// nothing: an unsafe name, a link, or a name longer than a file system holds.
QString unextractable(const ArchiveMember &member)
{
    const MemberPath path = ResolveMemberPath(member.name);
    if (!path.unsafe.isEmpty())
        return path.unsafe;
    if (member.symlink)
        return zanku::CoreText::tr("it is a link, which is not extracted");
    // NAME_MAX: 255 bytes of the name as the disk holds it (on Windows, 255 characters).
    constexpr qsizetype LongestName = 255;
    for (const QString &component : path.folders + QStringList{path.fileName}) {
#ifdef Q_OS_WIN
        const qsizetype length = component.size();
#else
        const qsizetype length = QFile::encodeName(component).size();
#endif
        if (length > LongestName)
            return zanku::CoreText::tr("a name over %1 bytes, longer than a file system holds")
                .arg(LongestName);
    }
    return {};
}

} // namespace

int ArchiveRank(QStringView name)
{
    for (size_t rank = 0; rank < ArchiveExtensions.size(); ++rank) {
        if (name.endsWith(QLatin1String(ArchiveExtensions[rank]), Qt::CaseInsensitive))
            return int(rank);
    }
    return -1;
}

bool IsArchiveName(const QString &name)
{
    return ArchiveRank(name) >= 0;
}

bool Outranked(const std::vector<ImportCandidate> &names, const ImportCandidate &archive,
               const QString &base)
{
    ImportCandidate probe;
    probe.file = base;
    const auto same = std::equal_range(names.begin(), names.end(), probe, ImportFileBefore);
    return std::any_of(same.first, same.second, [&](const ImportCandidate &c) {
        return c.pending && FileNameKey(c.file) == FileNameKey(base) &&
               ArchiveRank(c.entry) < ArchiveRank(archive.entry);
    });
}

bool ReadArchiveCandidate(ImportCandidate &candidate, const QString &path, const QString &base)
{
    const ArchiveMemberList list = ReadArchiveMembers(path);
    const int index = GameMemberIndex(list.members, base);
    if (!list.error.isEmpty()) {
        candidate.problem = // "zip", "7z" or "rar": the extension without its dot
            zanku::CoreText::tr("Not a readable %1 archive: %2.")
                .arg(QLatin1String(ArchiveExtensions[size_t(ArchiveRank(path))] + 1), list.error);
        return false;
    }
    if (index < 0) {
        candidate.problem = zanku::CoreText::tr("The archive holds no file.");
        return false;
    }
    const ArchiveMember &member = list.members[size_t(index)];
    candidate.member = member.name;
    if (const QString unsafe = unextractable(member); !unsafe.isEmpty()) {
        candidate.problem = zanku::CoreText::tr("Its game file \"%1\" would not be extracted: %2.")
                                .arg(candidate.member, unsafe);
        return false;
    }
    const QString leaf = candidate.member.section(u'/', -1);
    candidate.file = base + leaf.mid(StripExtension(leaf).size());
    if (StripExtension(candidate.file) != base) {
        candidate.problem =
            zanku::CoreText::tr("Its game file \"%1\" has no extension: the catalogue "
                                "would look for another archive.")
                .arg(candidate.member);
        return false;
    }
    return true;
}

int GameMemberIndex(const std::vector<ArchiveMember> &members, const QString &archiveBase)
{
    int best = -1;
    bool bestMatches = false;
    for (int index = 0; index < int(members.size()); ++index) {
        const QString leaf = members[size_t(index)].name.section(u'/', -1);
        const bool matches = StripExtension(leaf).compare(archiveBase, Qt::CaseInsensitive) == 0;
        if (best < 0 || (matches && !bestMatches) ||
            (matches == bestMatches && members[size_t(index)].size > members[size_t(best)].size)) {
            best = index;
            bestMatches = matches;
        }
    }
    return best;
}
