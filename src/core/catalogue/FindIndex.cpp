#include "core/catalogue/FindIndex.h"

#include "core/library/Library.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
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

uint16_t FindIndex::intern(Texts &texts, const QString &text, QHash<QString, uint16_t> &seen)
{
    const auto known = seen.constFind(text);
    if (known != seen.cend())
        return known.value();
    texts.folded.append(fold(text));
    return seen[text] = uint16_t(texts.folded.size() - 1);
}

void FindIndex::rebuild(const Library &library)
{
    const size_t slotCount = size_t(library.GameCount()) + 1;
    names_.clear();
    nameEnds_.assign(1, 0);
    types_.assign(1, 0);
    emulators_.assign(1, 0);
    typeTexts_ = emulatorTexts_ = Texts{};
    QHash<QString, uint16_t> seenTypes, seenEmulators;
    intern(typeTexts_, QString(), seenTypes);
    intern(emulatorTexts_, QString(), seenEmulators);
    nameEnds_.reserve(slotCount);
    types_.reserve(slotCount);
    emulators_.reserve(slotCount);
    for (int slot = 1; slot <= library.GameCount(); ++slot) {
        const GameRecord &game = library.game(slot);
        names_ += fold(game.Name);
        nameEnds_.push_back(uint32_t(names_.size()));
        types_.push_back(intern(typeTexts_, game.Type, seenTypes));
        const int e = game.EmulatorIndex;
        emulators_.push_back(
            intern(emulatorTexts_,
                   e >= 1 && e <= library.EmulatorCount() ? library.emulator(e).Name : QString(),
                   seenEmulators));
    }
    names_.squeeze();
    lastText_.clear();
    lastWords_.clear();
    matched_.assign(slotCount, true);
    matched_[0] = false;
    matchCount_ = int(slotCount) - 1;
}

bool FindIndex::slotMatches(size_t slot, const QList<QByteArray> &words) const
{
    const std::string_view name(names_.constData() + nameEnds_[slot - 1],
                                nameEnds_[slot] - nameEnds_[slot - 1]);
    for (qsizetype w = 0; w < words.size(); ++w) {
        if (!typeHits_[size_t(w)][types_[slot]] && !emulatorHits_[size_t(w)][emulators_[slot]] &&
            name.find(view(words[w])) == std::string_view::npos)
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

    const auto hitsOf = [&words](const Texts &texts) {
        std::vector<std::vector<bool>> hits(size_t(words.size()));
        for (qsizetype w = 0; w < words.size(); ++w) {
            hits[size_t(w)].resize(size_t(texts.folded.size()));
            for (qsizetype t = 0; t < texts.folded.size(); ++t)
                hits[size_t(w)][size_t(t)] =
                    view(texts.folded[t]).find(view(words[w])) != std::string_view::npos;
        }
        return hits;
    };
    typeHits_ = hitsOf(typeTexts_);
    emulatorHits_ = hitsOf(emulatorTexts_);

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
                   (types_.capacity() + emulators_.capacity()) * sizeof(uint16_t) +
                   matched_.capacity() / 8;
    for (const Texts *texts : {&typeTexts_, &emulatorTexts_}) {
        for (const QByteArray &folded : texts->folded)
            bytes += size_t(folded.capacity());
    }
    return bytes;
}

} // namespace zanku
