#include "core/import/ImportCandidate.h"

QString KindText(const ImportCandidate &candidate)
{
    // An archive is told by its own kind: "zip", "7z" or "rar".
    if (candidate.kind == ImportKind::Zip)
        return candidate.entry.mid(candidate.entry.lastIndexOf(u'.') + 1).toLower();
    return candidate.kind == ImportKind::Folder ? QStringLiteral("folder") : QStringLiteral("file");
}

QString ImportCandidate::note() const
{
    if (!problem.isEmpty())
        return problem;
    if (pending)
        return QStringLiteral("reading\u2026");
    if (kind == ImportKind::Zip && member != file)
        return QStringLiteral("inside: ") + member;
    if (!discs.isEmpty())
        return (writeDiscList ? QStringLiteral("written on adding: ") : QStringLiteral("discs: ")) +
               discs.join(QLatin1String(", "));
    return {};
}

bool ImportFileBefore(const ImportCandidate &a, const ImportCandidate &b)
{
    return QString::compare(a.file, b.file, Qt::CaseInsensitive) < 0;
}
