#pragma once

#include "core/import/ImportCandidate.h"
#include "core/import/ImportNames.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// A game of several discs is offered as one row: the .m3u that lists its discs. The
// discs an .m3u lists and the tracks a .cue names are not offered alone; discs whose
// names differ only by "(Disc N)", "(CD N)" or "(Disk N)" ("(Disc 1 of 2)" as well) make
// one row whose .m3u Add Checked writes beside them.

namespace zanku {

// Where a name tells its disc: "(Disc 2)", "(cd 2)", "(Disk 2 of 3)". No start: none.
struct DiscMark {
    qsizetype start = -1, length = 0;
    int number = 0;
};
DiscMark FindDiscMark(QStringView name);

// The names a disc list holds, in its order: an .m3u's lines (blank lines and "#"
// comments left out), a .cue's FILE lines, quoted or not. "\" reads as "/".
QStringList DiscListEntries(const QByteArray &content, bool cue);

struct DiscGroup {
    QString name;      // the suggested game name: the base name without the disc part
    QString playlist;  // the .m3u that stands for the discs; for one disc, that disc
    QStringList discs; // by disc number
    QString problem;   // an .m3u of that name is there and lists other discs
};

struct DiscGrouping {
    QSet<QString> hidden;          // the names (as FileNameKey) not offered alone
    std::vector<DiscGroup> groups; // a single disc as well: a group of one
};

// `names`: the folder's file names the grouping looks at (DiscNames::matter); `lists`:
// the content of its .m3u and .cue files, by name.
DiscGrouping GroupDiscs(const QStringList &names, const QHash<QString, QByteArray> &lists);

// Writes the .m3u of a group into `folder`: the discs, one a line, in UTF-8. Never over
// a file already there: one listing the same discs is taken as it is. Empty when done,
// else why it cannot stand for the game.
QString WriteDiscList(const QString &folder, const QString &playlist, const QStringList &discs);

// Gathers, while the scan lists the Games Directory, the names the grouping looks at and
// the candidate each became; then puts one row for each game of several discs.
class DiscNames {
public:
    // An .m3u, a .cue, or a name with "(Disc", "(CD" or "(Disk" in it.
    static bool matter(const QString &name);
    // A file's name as the listing meets it; `candidate`: the index of the candidate it
    // makes, -1 when it is not offered.
    void see(const QString &name, qsizetype candidate)
    {
        if (matter(name))
            names_.append({name, candidate});
    }
    // After the listing, before the sort: reads the folder's .m3u and .cue files and drops,
    // renames or merges the candidates the grouping says. `keys` go with the candidates.
    void apply(const QString &folder, std::vector<ImportCandidate> &candidates,
               std::vector<SortKey> &keys) const;

private:
    struct Seen {
        QString name;
        qsizetype candidate;
    };
    QList<Seen> names_;
};

} // namespace zanku
