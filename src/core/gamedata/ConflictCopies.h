#pragma once

#include <QString>
#include <QStringList>

namespace zanku {

// The copies a file synchroniser leaves beside one of the program's own files when two
// machines changed it at once, named after it with a word of conflict in the middle:
// "Zanku.sync-conflict-20261207-101010-ABCDEFG.played", "Zanku (Laptop's conflicted copy
// 2026-12-07).played", "Zanku_conflict-20261207-101010.played", "Zanku.played.conflict".
// Only regular files count; the full paths, sorted.
QStringList ConflictCopiesOf(const QString &directory, const QString &fileName);

} // namespace zanku
