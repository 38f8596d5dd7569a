#include "core/browse/SortKeys.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr char16_t LastAscii = 0x7f;

// Collation rank of every ASCII character (0: ignored by the collation),
// or nothing when the locale's collation may join characters (contractions such as a
// Czech "ch"), where ranks one character at a time would not agree with it.
using RankTable = std::array<char, LastAscii + 1>;

std::optional<RankTable> asciiRanks(const QCollator &collator)
{
    const QLocale::Language language = collator.locale().language();
    if (language != QLocale::C && language != QLocale::English)
        return std::nullopt;

    std::vector<QString> characters;
    for (char16_t c = 0; c <= LastAscii; ++c)
        characters.emplace_back(QChar(c));
    std::stable_sort(characters.begin(), characters.end(), [&](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });

    RankTable ranks{};
    char rank = 0;
    const QString *previous = nullptr;
    for (const QString &character : characters) {
        if (collator.compare(character, QString()) == 0)
            continue; // ignorable: leaves its rank at 0
        if (previous == nullptr || collator.compare(*previous, character) != 0)
            ++rank;
        ranks[character.at(0).unicode()] = rank;
        previous = &character;
    }
    return ranks;
}

// Appends the ASCII key of a cell; false (and nothing appended) when the cell holds
// anything beyond ASCII. Written straight into room made beforehand: a byte at a time
// through append() cost more than the rest of the key.
bool appendRankKey(QStringView cell, const RankTable &ranks, QByteArray &keys)
{
    const qsizetype start = keys.size();
    if (keys.capacity() < start + cell.size())
        keys.reserve(std::max(keys.capacity() * 2, start + cell.size()));
    keys.resize(start + cell.size());
    char *out = keys.data() + start;
    for (const QChar c : cell) {
        const char16_t code = c.unicode();
        if (code > LastAscii) {
            keys.truncate(start);
            return false;
        }
        *out = ranks[code];
        out += ranks[code] != 0;
    }
    keys.truncate(out - keys.constData());
    return true;
}

int compareNumbers(double a, double b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

std::optional<double> CellNumber(QStringView cell)
{
    // Most cells are names: settle them on their first visible character.
    qsizetype first = 0;
    while (first < cell.size() && cell.at(first).isSpace())
        ++first;
    if (first == cell.size())
        return std::nullopt;
    const QChar lead = cell.at(first);
    if (!lead.isDigit() && lead != u'+' && lead != u'-' && lead != u'.')
        return std::nullopt;

    bool ok = false;
    const double value = QLocale::c().toDouble(cell.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QCollator GenericCollator()
{
    // The C locale has no collation of its own (and its sort keys would respect case):
    // fall back to a neutral one there.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

GenericSortKeys::GenericSortKeys(const std::vector<QString> &cells)
    : GenericSortKeys(cells.size(), [&cells](size_t i) { return QStringView(cells[i]); })
{
}

GenericSortKeys::GenericSortKeys(size_t count, const std::function<QStringView(size_t)> &cellAt)
{
    const QCollator collator = GenericCollator();
    const std::optional<RankTable> ranks = asciiRanks(collator);

    keys_.resize(count);
    qsizetype characters = 0; // at most a rank each
    for (size_t i = 0; i < count; ++i)
        characters += cellAt(i).size();
    ranks_.reserve(characters);
    bool allRanked = true;
    for (size_t i = 0; i < count; ++i) {
        Key &key = keys_[i];
        key.offset = quint32(ranks_.size());
        const QStringView cell = cellAt(i);
        if (const std::optional<double> number = CellNumber(cell)) {
            key.kindBits = quint32(Kind::Number);
            key.number = *number;
        } else if (ranks && appendRankKey(cell, *ranks, ranks_)) {
            key.kindBits = quint32(Kind::Ranked);
            key.length = quint32(ranks_.size() - key.offset);
            key.prefix = 0;
            const uchar *rank = reinterpret_cast<const uchar *>(ranks_.constData()) + key.offset;
            for (quint32 at = 0; at < 8; ++at)
                key.prefix = key.prefix << 8 | (at < key.length ? rank[at] : 0);
        } else {
            allRanked = false;
        }
    }

    // A cell the ranks cannot weigh is compared through the collator's keys, and so is
    // every text it may meet, so that all comparisons follow one order.
    if (!allRanked) {
        collated_.resize(count);
        for (size_t i = 0; i < count; ++i) {
            if (keys_[i].kind() != Kind::Number)
                collated_[i] = collator.sortKey(cellAt(i).toString());
        }
    }
}

int GenericSortKeys::compare(size_t a, size_t b) const
{
    const Key &left = keys_[a];
    const Key &right = keys_[b];
    if (left.kind() == Kind::Number || right.kind() == Kind::Number) {
        if (left.kind() != right.kind())
            return left.kind() == Kind::Number ? -1 : 1;
        return compareNumbers(left.number, right.number);
    }
    if (left.kind() == Kind::Ranked && right.kind() == Kind::Ranked) {
        // Ranks are never 0, so the prefixes alone settle every key that differs in
        // its first eight ranks or ends within them.
        if (left.prefix != right.prefix)
            return left.prefix < right.prefix ? -1 : 1;
        const int common =
            std::memcmp(ranks_.constData() + left.offset, ranks_.constData() + right.offset,
                        size_t(std::min<quint32>(left.length, right.length)));
        if (common != 0)
            return common;
        return left.length < right.length ? -1 : (right.length < left.length ? 1 : 0);
    }
    return collated_[a]->compare(*collated_[b]);
}

void GenericSortKeys::sort(std::vector<int>::iterator first, std::vector<int>::iterator last) const
{
    sortFirst(first, last, last);
}

void GenericSortKeys::sortFirst(std::vector<int>::iterator first, std::vector<int>::iterator middle,
                                std::vector<int>::iterator last) const
{
    // Sixteen ranks side by side settle most names without reaching for their keys: lists
    // repeat names, and many share their first words.
    struct Entry {
        quint64 prefix;
        quint64 next; // ranks 9 to 16
        int cell;
        quint32 length; // of a Ranked key; Unranked for any other
    };
    constexpr quint32 Unranked = 0xFFFFFFFF;
    std::vector<Entry> entries;
    entries.reserve(size_t(last - first));
    for (auto at = first; at != last; ++at) {
        const Key &key = keys_[size_t(*at)];
        if (key.kind() != Kind::Ranked) {
            entries.push_back({0, 0, *at, Unranked});
            continue;
        }
        quint64 next = 0;
        const uchar *rank = reinterpret_cast<const uchar *>(ranks_.constData()) + key.offset;
        for (quint32 i = 8; i < 16; ++i)
            next = next << 8 | (i < key.length ? rank[i] : 0);
        entries.push_back({key.prefix, next, *at, key.length});
    }
    // Equal cells by their numbers: no two entries are equal, so an unstable sort orders
    // them as a stable one would the numbers in their order, without a buffer beside them.
    const auto less = [this](const Entry &a, const Entry &b) {
        if (a.length != Unranked && b.length != Unranked) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            if (a.next != b.next)
                return a.next < b.next;
            if (a.length <= 16 || b.length <= 16) // the same sixteen: the shorter first
                return a.length != b.length ? a.length < b.length : a.cell < b.cell;
            // Both longer: only the ranks after the sixteen are left to compare.
            const char *ranks = ranks_.constData();
            const int rest = std::memcmp(ranks + keys_[size_t(a.cell)].offset + 16,
                                         ranks + keys_[size_t(b.cell)].offset + 16,
                                         std::min(a.length, b.length) - 16);
            if (rest != 0)
                return rest < 0;
            return a.length != b.length ? a.length < b.length : a.cell < b.cell;
        }
        const int order = compare(size_t(a.cell), size_t(b.cell));
        return order != 0 ? order < 0 : a.cell < b.cell;
    };
    if (middle == last)
        std::sort(entries.begin(), entries.end(), less);
    else
        std::partial_sort(entries.begin(), entries.begin() + (middle - first), entries.end(), less);
    for (const Entry &entry : entries)
        *first++ = entry.cell;
}
