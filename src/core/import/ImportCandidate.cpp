#include "core/import/ImportCandidate.h"

#include "core/common/CoreText.h"

QString KindText(const ImportCandidate &candidate)
{
    // An archive is told by its own kind: "zip", "7z" or "rar".
    if (candidate.kind == ImportKind::Zip)
        return candidate.entry.mid(candidate.entry.lastIndexOf(u'.') + 1).toLower();
    return candidate.kind == ImportKind::Folder ? zanku::CoreText::tr("folder")
                                                : zanku::CoreText::tr("file");
}

QString ImportCandidate::note() const
{
    if (!problem.isEmpty())
        return problem;
    if (pending)
        return zanku::CoreText::tr("reading…");
    if (kind == ImportKind::Zip && member != file)
        return zanku::CoreText::tr("inside: ") + member;
    if (!discs.isEmpty())
        return (writeDiscList ? zanku::CoreText::tr("written on adding: ")
                              : zanku::CoreText::tr("discs: ")) +
               discs.join(QLatin1String(", "));
    return {};
}

bool ImportFileBefore(const ImportCandidate &a, const ImportCandidate &b)
{
    return QString::compare(a.file, b.file, Qt::CaseInsensitive) < 0;
}
