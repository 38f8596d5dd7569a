#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace zanku {

class Library;

// What a player types to find a game: every word of it must occur in the game's name,
// type, emulator name, or in its details' developer, publisher, genre or year, in any
// order, ignoring letter case and accents ("é" finds "e"). The texts are folded once,
// when the catalogue (or its details) is read: a game's name in one buffer, each other
// field as a number into a small table of its distinct texts, about 35 bytes a game. A
// key typed onto the text already found looks only among the games found so far.
class FindIndex {
public:
    // Folds the library's games, by slot.
    void rebuild(const Library &library);
    // The same a piece at a time, so that a large library is folded between other work:
    // begin, then build `games` more at each call until it says the index is complete. The
    // library must not change meanwhile.
    void begin(const Library &library);
    bool build(const Library &library, int games);

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

    // Every field found beside the name, each game's as a number into its texts.
    enum FieldId { Type, Emulator, Developer, Publisher, Genre, Year, FieldCount };
    struct Field {
        Texts texts;
        std::vector<uint16_t> ids;           // by slot
        std::vector<std::vector<bool>> hits; // by word of the last find, by text
    };

    QByteArray names_;                  // every folded name, one after the other
    std::vector<uint32_t> nameEnds_;    // by slot: where its name ends in names_
    std::vector<uint16_t> emulatorIds_; // while building: each emulator's text, by its slot
    std::array<Field, FieldCount> fields_;
    // By word of the last find: the fields where some text holds it, the only ones looked at.
    std::vector<std::vector<const Field *>> fieldsHit_;
    std::vector<bool> matched_; // by slot
    int matchCount_ = 0;
    QString lastText_;
    QList<QByteArray> lastWords_;
};

} // namespace zanku
