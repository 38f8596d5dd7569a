#include "core/import/ImportDiscs.h"
#include "core/common/CoreText.h"
#include "core/import/ImportGameName.h"

#include "core/catalogue/PresenceIndex.h"
#include "core/files/FileNames.h"
#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace zanku {

namespace {
// A disc list is a few lines; a .cue of many tracks a few kilobytes.
constexpr qint64 MaxListBytes = 1 << 20;

bool endsWith(const QString &name, QLatin1StringView extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive);
}
bool isPlaylist(const QString &name)
{
    return endsWith(name, QLatin1StringView(".m3u"));
}
bool isCue(const QString &name)
{
    return endsWith(name, QLatin1StringView(".cue"));
}

// UTF-8 as written today; a list from an older tool may be in a legacy code page, whose
// names Latin-1 keeps byte for byte.
QString decodeList(const QByteArray &content)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(content);
    if (utf8.hasError())
        text = QString::fromLatin1(content);
    if (text.startsWith(u'\uFEFF'))
        text.remove(0, 1);
    return text;
}

bool sameNames(const QStringList &a, const QStringList &b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const QString &x, const QString &y) { return FileNameKey(x) == FileNameKey(y); });
}

// The name without its disc part and the blanks before it: "A (Disc 1) (USA).cue" gives
// "A (USA).cue".
QString withoutMark(const QString &name, const DiscMark &mark)
{
    QStringView left = QStringView(name).left(mark.start);
    QStringView right = QStringView(name).mid(mark.start + mark.length);
    while (!left.isEmpty() && left.back().isSpace())
        left.chop(1);
    if (left.isEmpty())
        right = right.trimmed();
    return left.toString() + right.toString();
}

QString alreadyThere(const QString &playlist)
{
    return CoreText::tr("%1 is already there and lists other discs: rename it, or list "
                        "these discs in it.")
        .arg(playlist);
}
} // namespace

DiscMark FindDiscMark(QStringView name)
{
    static const QRegularExpression mark(
        QStringLiteral(R"(\((?:disc|disk|cd)\s*(\d{1,4})(?:\s*of\s*\d+)?\))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = mark.match(name);
    if (!match.hasMatch())
        return {};
    return {match.capturedStart(), match.capturedLength(), match.capturedView(1).toInt()};
}

QStringList DiscListEntries(const QByteArray &content, bool cue)
{
    static const QRegularExpression fileLine(
        QStringLiteral(R"re(^FILE\s+(?:"([^"]*)"|(\S.*?))\s+\S+$)re"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = decodeList(content);
    QStringList entries;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        line = line.trimmed(); // a CR LF end as well
        QString entry;
        if (cue) {
            const QRegularExpressionMatch match = fileLine.match(line);
            if (!match.hasMatch())
                continue;
            entry = match.hasCaptured(1) ? match.captured(1) : match.captured(2);
        } else if (!line.isEmpty() && !line.startsWith(u'#')) {
            entry = line.toString();
        }
        entry.replace(u'\\', u'/');
        while (entry.startsWith(QLatin1StringView("./")))
            entry.remove(0, 2);
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return entries;
}

DiscGrouping GroupDiscs(const QStringList &names, const QHash<QString, QByteArray> &lists)
{
    DiscGrouping grouping;
    QHash<QString, QStringList> playlists; // each .m3u's discs, by its key
    for (auto list = lists.begin(); list != lists.end(); ++list) {
        const QStringList entries = DiscListEntries(list.value(), isCue(list.key()));
        for (const QString &entry : entries) {
            if (!entry.contains(u'/')) // a name in another folder is not offered here
                grouping.hidden.insert(FileNameKey(entry));
        }
        if (isPlaylist(list.key()))
            playlists.insert(FileNameKey(list.key()), entries);
    }

    struct Disc {
        int number;
        QString name;
    };
    QHash<QString, std::vector<Disc>> discsOf; // by the name without its disc part
    QStringList games;                         // those names
    for (const QString &name : names) {
        const DiscMark mark = FindDiscMark(name);
        if (mark.start < 0 || isPlaylist(name) || grouping.hidden.contains(FileNameKey(name)))
            continue;
        const QString game = withoutMark(name, mark);
        std::vector<Disc> &discs = discsOf[FileNameKey(game)];
        if (discs.empty())
            games.append(game);
        discs.push_back({mark.number, name});
    }
    // In one order whatever the folder's, and a group of .cue files first: other files of
    // the same discs (.bin files no .cue names, say) do not take the .m3u's name from them.
    games.sort(Qt::CaseInsensitive);
    std::stable_partition(games.begin(), games.end(), isCue);
    QSet<QString> playlistsTaken;
    for (const QString &game : std::as_const(games)) {
        std::vector<Disc> &discs = discsOf[FileNameKey(game)];
        std::sort(discs.begin(), discs.end(), [](const Disc &a, const Disc &b) {
            return a.number != b.number ? a.number < b.number : a.name < b.name;
        });
        DiscGroup group;
        const QStringView base = StripExtension(QStringView(game));
        group.name = ImportName(base);
        for (const Disc &disc : discs)
            group.discs.append(disc.name);
        if (discs.size() == 1) {
            group.playlist = discs.front().name;
        } else {
            group.playlist = base.toString() + QLatin1StringView(".m3u");
            const QString key = FileNameKey(group.playlist);
            if (playlistsTaken.contains(key))
                continue;
            playlistsTaken.insert(key);
            if (playlists.contains(key) && !sameNames(playlists.value(key), group.discs))
                group.problem = alreadyThere(group.playlist);
        }
        grouping.groups.push_back(std::move(group));
    }
    return grouping;
}

QString WriteDiscList(const QString &folder, const QString &playlist, const QStringList &discs)
{
    const QString path = folder + u'/' + playlist;
    const RegularFileRead there = ReadRegularFile(path, MaxListBytes);
    if (there.status != RegularFileRead::Missing) {
        if (!there.ok())
            return CoreText::tr("%1 is already there and cannot be read as a list of discs: %2.")
                .arg(playlist, there.reason);
        return sameNames(DiscListEntries(there.content, false), discs) ? QString()
                                                                       : alreadyThere(playlist);
    }
    QByteArray content;
    for (const QString &disc : discs)
        content += disc.toUtf8() + '\n';
    // Complete or not at all, and never over a file or through a link that came since.
    if (const TextWriteResult written = WriteNewFileBytes(path, content); !written.ok)
        return CoreText::tr("%1 could not be written: %2.").arg(playlist, written.error);
    return {};
}

bool DiscNames::matter(const QString &name)
{
    // Every name of the folder comes here: ".m3u" and ".cue" in any case, read by hand.
    const qsizetype size = name.size();
    if (size >= 4 && name[size - 4] == u'.') {
        const auto lower = [&name, size](qsizetype back) {
            return name[size - back].unicode() | 0x20;
        };
        if ((lower(3) == u'm' && lower(2) == u'3' && lower(1) == u'u') ||
            (lower(3) == u'c' && lower(2) == u'u' && lower(1) == u'e'))
            return true;
    }
    if (!name.contains(u'('))
        return false; // most names: one quick look
    return name.contains(QLatin1StringView("(Dis"), Qt::CaseInsensitive) ||
           name.contains(QLatin1StringView("(CD"), Qt::CaseInsensitive);
}

void DiscNames::apply(const QString &folder, std::vector<ImportCandidate> &candidates,
                      std::vector<SortKey> &keys) const
{
    if (names_.isEmpty())
        return;
    QStringList names;
    QHash<QString, QByteArray> lists;
    QHash<QString, qsizetype> candidateOf; // by key
    for (const Seen &seen : names_) {
        names.append(seen.name);
        candidateOf.insert(FileNameKey(seen.name), seen.candidate);
        if (!isPlaylist(seen.name) && !isCue(seen.name))
            continue;
        const RegularFileRead read = ReadRegularFile(folder + u'/' + seen.name, MaxListBytes);
        if (read.ok())
            lists.insert(seen.name, read.content);
        if (read.ok() && seen.candidate >= 0 && isPlaylist(seen.name))
            candidates[size_t(seen.candidate)].discs = DiscListEntries(read.content, false);
    }
    const DiscGrouping grouping = GroupDiscs(names, lists);

    std::vector<bool> dropped(candidates.size());
    QSet<QString> unseen; // hidden names not handed to add(): a .cue's tracks
    for (const QString &hidden : grouping.hidden) {
        if (!candidateOf.contains(hidden))
            unseen.insert(hidden);
        else if (const qsizetype index = candidateOf.value(hidden); index >= 0)
            dropped[size_t(index)] = true;
    }
    for (size_t index = 0; index < candidates.size() && !unseen.isEmpty(); ++index) {
        const ImportCandidate &candidate = candidates[index];
        dropped[index] = dropped[index] || (candidate.kind == ImportKind::File &&
                                            unseen.contains(FileNameKey(candidate.entry)));
    }
    for (const DiscGroup &group : grouping.groups) {
        std::vector<size_t> indexes;
        for (const QString &disc : group.discs) {
            const qsizetype index = candidateOf.value(FileNameKey(disc), -1);
            // A disc listed already, or one that cannot be: its group is offered disc by disc.
            if (index < 0 || !candidates[size_t(index)].problem.isEmpty())
                break;
            indexes.push_back(size_t(index));
        }
        if (indexes.size() != size_t(group.discs.size()))
            continue;
        ImportCandidate &row = candidates[indexes.front()];
        row.name = group.name;
        if (indexes.size() == 1)
            continue; // a single disc: that file
        row.file = row.entry = group.playlist;
        row.discs = group.discs;
        row.writeDiscList = true;
        row.problem = group.problem;
        keys[indexes.front()] = SortKey(row.file, indexes.front());
        for (size_t other = 1; other < indexes.size(); ++other)
            dropped[indexes[other]] = true;
    }
    // What SortByFile leaves out of its keys is left out of the candidates.
    std::erase_if(keys, [&dropped](const SortKey &key) { return dropped[key.index]; });
}

} // namespace zanku
