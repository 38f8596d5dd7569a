#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace zanku {

class Library;

// What a player types to find a game: every word of it must occur in the game's name,
// type or emulator name, in any order, ignoring letter case and accents ("é" finds "e").
// The texts are folded once, when the catalogue is read: a game's name in one buffer,
// its type and emulator as numbers into small tables, about 25 bytes a game. A key
// typed onto the text already found looks only among the games found so far.
class FindIndex {
public:
    // Folds the library's games, by slot.
    void rebuild(const Library &library);

    // Narrows to the games matching `text`; true for every slot when it holds no word.
    // Returns whether anything is filtered out.
    bool find(const QString &text);
    bool matches(int slot) const
    {
        return size_t(slot) < matched_.size() && matched_[size_t(slot)];
    }
    int matchCount() const { return matchCount_; }

    // Lower case without accents, as UTF-8: what both sides of a match are made of.
    static QByteArray fold(const QString &text);

    size_t memoryUsed() const;

private:
    // A table of the distinct texts of one field (types, or emulator names).
    struct Texts {
        QStringList originals;
        QList<QByteArray> folded;
        QHash<QString, uint16_t> ids; // only once there are many
    };
    static uint16_t intern(Texts &texts, const QString &text);
    bool slotMatches(size_t slot, const QList<QByteArray> &words) const;

    QByteArray names_;               // every folded name, one after the other
    std::vector<uint32_t> nameEnds_; // by slot: where its name ends in names_
    std::vector<uint16_t> types_, emulators_;
    Texts typeTexts_, emulatorTexts_;
    std::vector<std::vector<bool>> typeHits_, emulatorHits_; // by word of the last find
    std::vector<bool> matched_;                              // by slot
    int matchCount_ = 0;
    QString lastText_;
    QList<QByteArray> lastWords_;
};

} // namespace zanku
