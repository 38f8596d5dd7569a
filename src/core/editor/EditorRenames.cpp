#include "core/editor/EditorRenames.h"

#include "core/catalogue/RomList.h"
#include "core/common/CoreText.h"
#include "core/common/Quoted.h"

#include <QDir>
#include <QFileInfo>

std::vector<Rename> RenamedEmulators(const QStringList &loaded, const QStringList &names)
{
    std::vector<Rename> renamed;
    for (qsizetype row = 0; row < names.size(); ++row) {
        const QString from = loaded.value(row);
        if (!from.isEmpty() && !names.contains(from))
            renamed.emplace_back(from, names.at(row));
    }
    return renamed;
}

bool RomListInTheWay(const QString &programDir, const Rename &rename)
{
    const QDir dir(programDir);
    return QFileInfo::exists(dir.filePath(RomListFileName(rename.first))) &&
           QFileInfo::exists(dir.filePath(RomListFileName(rename.second)));
}

QString RenameQuestion(const Rename &rename)
{
    const auto &[from, to] = rename;
    return zanku::CoreText::tr(
               "%1 is renamed %2, but a ROM list %3 is there already.\n\nSave anyway? "
               "%2 then lists the games of %3, and %4 stays as it is.")
        .arg(Quoted(from), Quoted(to), Quoted(RomListFileName(to)), Quoted(RomListFileName(from)));
}

QString SavesQuestion(const Rename &rename)
{
    const auto &[from, to] = rename;
    return zanku::CoreText::tr(
               "%1 is renamed %2, but saves kept for an emulator named %2 are there "
               "already.\n\nYes merges them: the games of %1 keep their own saves, "
               "and any of the others in their way is kept beside them as \"(old)\". "
               "No keeps both: the saves there are renamed %3 first. Cancel saves "
               "nothing.")
        .arg(Quoted(from), Quoted(to), Quoted(to + QStringLiteral(" (old)")));
}
