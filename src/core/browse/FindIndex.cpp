#include "core/browse/FindIndex.h"

#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <string_view>

namespace zanku {
namespace {
std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}
} // namespace

QByteArray FindIndex::fold(const QString &text)
{
    // Plain ASCII, the common case, needs no decomposition.
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return text.toLatin1().toLower();
    QString bare;
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_Enclosing &&
            c.category() != QChar::Mark_SpacingCombining)
            bare.append(c);
    }
    return bare.toCaseFolded().toUtf8();
}

uint16_t FindIndex::intern(Texts &texts, const QString &text)
{
    // A catalogue has a handful of types: a look along them beats hashing every game's.
    constexpr qsizetype Few = 32;
    if (texts.originals.size() <= Few) {
        for (qsizetype i = texts.originals.size() - 1; i >= 0; --i) {
            if (texts.originals[i].size() == text.size() && texts.originals[i] == text)
                return uint16_t(i);
        }
    } else if (const auto known = texts.ids.constFind(text); known != texts.ids.cend()) {
        return known.value();
    }
    if (texts.originals.size() > 0xFFFF)
        return 0;                      // more than can be told apart: found by the name alone
    if (texts.originals.size() == Few) // many after all: from here on, by hash
        for (qsizetype i = 0; i < texts.originals.size(); ++i)
            texts.ids.insert(texts.originals[i], uint16_t(i));
    if (texts.originals.size() >= Few)
        texts.ids.insert(text, uint16_t(texts.originals.size()));
    texts.originals.append(text);
    texts.folded.append(fold(text));
    return uint16_t(texts.folded.size() - 1);
}

namespace {
// Appends the folded text; plain ASCII, the common case, straight from the characters.
// The folded form of every character of the Latin blocks, made once from their Unicode
// decomposition: most accented names need nothing more.
const std::array<QByteArray, 0x250> &latinFolds()
{
    static const std::array<QByteArray, 0x250> folds = [] {
        std::array<QByteArray, 0x250> table;
        for (char16_t c = 0; c < table.size(); ++c)
            table[c] = FindIndex::fold(QString(QChar(c)));
        return table;
    }();
    return folds;
}

void appendFolded(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(char(u >= u'A' && u <= u'Z' ? u + (u'a' - u'A') : u));
        } else if (u < latinFolds().size()) {
            out.append(latinFolds()[u]);
        } else { // combining marks, other scripts: the whole text the long way
            out.truncate(start);
            out += FindIndex::fold(text.toString());
            return;
        }
    }
}
} // namespace

void FindIndex::rebuild(const Library &library)
{
    begin(library);
    build(library, library.GameCount());
}

void FindIndex::begin(const Library &library)
{
    const size_t slotCount = size_t(library.GameCount()) + 1;
    names_.clear();
    names_.reserve(qsizetype(slotCount) * 24);
    nameEnds_.assign(1, 0);
    nameEnds_.reserve(slotCount);
    for (Field &field : fields_) {
        field = Field{};
        intern(field.texts, QString());
        field.ids.assign(1, 0);
    }
    // An emulator's name is folded once, by its slot.
    emulatorIds_.assign(size_t(library.EmulatorCount()) + 1, 0);
    for (int e = 1; e <= library.EmulatorCount(); ++e)
        emulatorIds_[size_t(e)] = intern(fields_[Emulator].texts, library.emulator(e).Name);
    const LibraryMetadata &metadata = library.metadata();
    for (Field &field : fields_)
        if (&field < &fields_[Developer] || metadata.anyDetails())
            field.ids.reserve(slotCount);
    matched_.clear();
    matchCount_ = 0;
}

bool FindIndex::build(const Library &library, int games)
{
    const LibraryMetadata &metadata = library.metadata();
    const int last =
        int(std::min<qint64>(qint64(nameEnds_.size()) - 1 + games, library.GameCount()));
    const GameTable &table = library.games();
    for (int slot = int(nameEnds_.size()); slot <= last; ++slot) {
        appendFolded(names_, table.name(size_t(slot)));
        nameEnds_.push_back(uint32_t(names_.size()));
        fields_[Type].ids.push_back(intern(fields_[Type].texts, table.type(size_t(slot))));
        const int e = table.emulator(size_t(slot));
        fields_[Emulator].ids.push_back(
            e >= 1 && size_t(e) < emulatorIds_.size() ? emulatorIds_[size_t(e)] : 0);
        // Without any details, their fields cost nothing: no number a game.
        const GameMetadata *details = metadata.of(slot);
        if (!metadata.anyDetails())
            continue;
        const auto add = [this, details](FieldId field, QStringView text) {
            fields_[field].ids.push_back(
                details == nullptr ? 0 : intern(fields_[field].texts, text.trimmed().toString()));
        };
        add(Developer, details ? details->developer() : QStringView());
        add(Publisher, details ? details->publisher() : QStringView());
        add(Genre, details ? details->genre() : QStringView());
        const int year = details ? details->year() : 0;
        add(Year, year != 0 ? QStringView(QString::number(year)) : QStringView());
    }
    if (nameEnds_.size() <= size_t(library.GameCount()))
        return false;
    names_.squeeze();
    emulatorIds_ = {};
    const size_t slotCount = nameEnds_.size();
    lastText_.clear();
    lastWords_.clear();
    matched_.assign(slotCount, true);
    matched_[0] = false;
    matchCount_ = int(slotCount) - 1;
    return true;
}

bool FindIndex::slotMatches(size_t slot, const QList<QByteArray> &words) const
{
    const std::string_view name(names_.constData() + nameEnds_[slot - 1],
                                nameEnds_[slot] - nameEnds_[slot - 1]);
    for (qsizetype w = 0; w < words.size(); ++w) {
        const std::vector<const Field *> &fields = fieldsHit_[size_t(w)];
        const bool inField = std::any_of(fields.cbegin(), fields.cend(), [w, slot](const Field *f) {
            return f->hits[size_t(w)][f->ids[slot]];
        });
        if (!inField && name.find(view(words[w])) == std::string_view::npos)
            return false;
    }
    return true;
}

bool FindIndex::find(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QList<QByteArray> words;
    for (const QString &word : text.split(blanks, Qt::SkipEmptyParts))
        words.append(fold(word));
    // Typing on: only the games found so far can still match.
    const bool narrower = !lastWords_.isEmpty() && text.startsWith(lastText_);
    lastText_ = text;
    lastWords_ = words;

    fieldsHit_.assign(size_t(words.size()), {});
    for (Field &field : fields_) {
        field.hits.assign(size_t(words.size()), {});
        for (qsizetype w = 0; w < words.size(); ++w) {
            std::vector<bool> &hits = field.hits[size_t(w)];
            hits.resize(size_t(field.texts.folded.size()));
            bool any = false;
            for (qsizetype t = 1; t < field.texts.folded.size(); ++t) {
                hits[size_t(t)] =
                    view(field.texts.folded[t]).find(view(words[w])) != std::string_view::npos;
                any = any || hits[size_t(t)];
            }
            if (any)
                fieldsHit_[size_t(w)].push_back(&field);
        }
    }

    matchCount_ = 0;
    for (size_t slot = 1; slot < matched_.size(); ++slot) {
        if (narrower && !matched_[slot])
            continue;
        matched_[slot] = words.isEmpty() || slotMatches(slot, words);
        matchCount_ += matched_[slot];
    }
    return matchCount_ < int(matched_.size()) - 1;
}

size_t FindIndex::memoryUsed() const
{
    size_t bytes = size_t(names_.capacity()) + nameEnds_.capacity() * sizeof(uint32_t) +
                   matched_.capacity() / 8;
    for (const Field &field : fields_) {
        bytes += field.ids.capacity() * sizeof(uint16_t);
        for (const QByteArray &folded : field.texts.folded)
            bytes += size_t(folded.capacity());
    }
    return bytes;
}

} // namespace zanku
