#pragma once

#include "core/import/ImportCandidate.h"

#include <QString>
#include <QStringView>

#include <vector>

// What the import reads of the archives in a zipped-game directory: which names are
// archives the catalogue looks for, which one of a base name it reaches, and the game
// member each would give a launch.

// The place of the name's archive extension in the catalogue's order (".zip", ".7z",
// ".rar", in any case), or -1 when it has none of them.
int ArchiveRank(QStringView name);
bool IsArchiveName(const QString &name);

// Whether an archive of the same base name comes before this one in the catalogue's order
// (game.zip before game.7z): the catalogue never reaches this one. `names` is sorted by
// ImportFileBefore.
bool Outranked(const std::vector<ImportCandidate> &names, const ImportCandidate &archive,
               const QString &base);

// Fills the candidate's File and member from the archive at `path`, whose base name is
// `base`; false with the reason in its problem when it cannot be listed (unreadable, no
// file, a game member the extraction would not write where the launch looks).
bool ReadArchiveCandidate(ImportCandidate &candidate, const QString &path, const QString &base);

struct ArchiveMember;
// The member that holds the game: the only one, else the largest whose base name is
// the archive's, else the largest of all. -1 for an archive without files.
int GameMemberIndex(const std::vector<ArchiveMember> &members, const QString &archiveBase);
