// What a save writes: the file's bytes with this program's changes merged in.

#include "core/gamedata/PlayHistory.h"
#include "core/gamedata/PlayHistoryLine.h"

#include <algorithm>
#include <unordered_map>

namespace zanku {

using history::endOfLine;
using history::hashOf;
using history::lineOf;
using history::readStats;
using history::split;
using history::Utf8Bom;

// What each game of the file that changes becomes: its line, written where the game first
// appears; its other lines go.
struct PlayHistory::Merging {
    // A line of the file rewritten, or gone.
    struct Edit {
        Index::Line line;
        QByteArray text; // null: the line goes
        bool operator<(const Edit &other) const { return line.at < other.line.at; }
    };

    const Index &index;
    const Renamed renamed;
    std::unordered_map<qsizetype, QByteArray> rewritten;
    std::vector<const Change *> added;
    // Where a game written more than once first appears.
    std::unordered_map<qsizetype, Index::Line> first;

    void rewrite(qsizetype game, const Change *change);
    void rewriteAll(const std::vector<Change> &changes);
    std::vector<Edit> edits();
    QByteArray spliced(const std::vector<Edit> &edits) const;
    void append(QByteArray &content, Index::Merge *merge) const;
};

void PlayHistory::Merging::rewrite(qsizetype game, const Change *change)
{
    const QByteArrayView line = index.line(index.games[size_t(game)]);
    const auto renamedTo = renamed.keyOf.constFind(game);
    if (change == nullptr && renamedTo == renamed.keyOf.cend()) {
        rewritten.emplace(game, line.toByteArray());
        return;
    }
    Game merged;
    readStats(line, merged);
    if (change != nullptr)
        change->applyTo(merged, true);
    history::Fields fields;
    split(line, fields);
    rewritten[game] = lineOf(
        merged, renamedTo == renamed.keyOf.cend() ? fields.texts : QByteArrayView(*renamedTo));
}

// The games changed, renamed or written more than once; those the file lacks are added.
void PlayHistory::Merging::rewriteAll(const std::vector<Change> &changes)
{
    for (const Change &change : changes) {
        const QByteArray key = history::keyOf(change.key);
        const qsizetype game = renamed.locate(index, key);
        if (game < 0)
            added.push_back(&change);
        else
            rewrite(game, &change);
    }
    for (auto game = renamed.keyOf.cbegin(); game != renamed.keyOf.cend(); ++game) {
        if (!rewritten.count(game.key()))
            rewrite(game.key(), nullptr);
    }
    for (const auto &[game, line] : index.superseded) {
        if (!rewritten.count(game))
            rewrite(game, nullptr);
        Index::Line &earliest = first.try_emplace(game, line).first->second;
        if (line.at < earliest.at)
            earliest = line;
    }
}

// In the file's order; the rewritten lines are taken from `rewritten`.
std::vector<PlayHistory::Merging::Edit> PlayHistory::Merging::edits()
{
    std::vector<Edit> edits;
    for (const auto &[game, line] : index.superseded)
        edits.push_back({line, {}});
    // The lines that cannot be read go after the games, as they are.
    for (const Index::Line line : index.unread)
        edits.push_back({line, {}});
    for (auto &[game, text] : rewritten) {
        const Index::Line own = index.games[size_t(game)];
        const auto earliest = first.find(game);
        if (earliest == first.end()) {
            edits.push_back({own, std::move(text)});
            continue;
        }
        edits.push_back({own, {}});
        for (Edit &edit : edits) {
            if (edit.line.at == earliest->second.at)
                edit.text = std::move(text);
        }
    }
    std::sort(edits.begin(), edits.end());
    return edits;
}

QByteArray PlayHistory::Merging::spliced(const std::vector<Edit> &edits) const
{
    const QByteArrayView bytes(index.bytes);
    QByteArray content;
    content.reserve(bytes.size() + qsizetype(added.size()) * 100);
    qsizetype from = 0;
    for (const Edit &edit : edits) {
        content.append(bytes.sliced(from, edit.line.at - from));
        from = edit.line.at + edit.line.size;
        if (edit.text.isNull())
            from += endOfLine(bytes, from);
        else
            content.append(edit.text);
    }
    content.append(bytes.sliced(from));
    return content;
}

// The games added, then the lines that cannot be read.
void PlayHistory::Merging::append(QByteArray &content, Index::Merge *merge) const
{
    const QByteArrayView bytes(index.bytes);
    const bool more = !added.empty() || !index.unread.empty();
    if (more && !content.isEmpty() && !content.endsWith('\n') && !content.endsWith('\r'))
        content += "\r\n";
    for (const Change *change : added) {
        Game game;
        change->applyTo(game, true);
        const QByteArray key = history::keyOf(change->key);
        const QByteArray line = lineOf(game, key);
        if (merge != nullptr)
            merge->added.push_back(
                {{uint32_t(content.size()), uint32_t(line.size())}, hashOf(key)});
        content += line + "\r\n";
    }
    for (const Index::Line line : index.unread)
        content.append(bytes.sliced(line.at, line.size)).append("\r\n");
    // An unread line that begins like a byte order mark stays whole when read again.
    if (content.startsWith(Utf8Bom) && !bytes.startsWith(Utf8Bom))
        content.prepend(Utf8Bom);
}

QByteArray PlayHistory::merged(const Index &index, Index::Merge *merge) const
{
    Merging merging{index, resolve(index), {}, {}, {}};
    merging.rewriteAll(changes_);
    if (merge != nullptr) {
        merge->resized.clear();
        for (const auto &[game, text] : merging.rewritten)
            merge->resized.emplace_back(uint32_t(game), uint32_t(text.size()));
        std::sort(merge->resized.begin(), merge->resized.end());
    }
    QByteArray content = merging.spliced(merging.edits());
    if (merge != nullptr) {
        // Only lines rewritten in place: the index follows them without reading them again.
        merge->inPlace =
            index.superseded.empty() && index.unread.empty() && merging.renamed.keyOf.isEmpty();
        merge->added.clear();
    }
    merging.append(content, merge);
    return content;
}

QByteArray PlayHistory::format() const
{
    return merged(index_);
}

} // namespace zanku
