#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The game grid's "generic ascending" order: a cell that reads as a number compares as
// a number, any other cell as text, case-insensitively in the locale's collation.
// Numbers come before text.
//
// The keys of a whole column are made at once, so a sort compares prepared keys only.
// Where the collation is known to weigh plain ASCII one character at a time (English
// and the C locale), an ASCII cell's key is the string of its characters' collation
// ranks, taken from the collator itself: comparing those bytes gives the collator's own
// answer at a fraction of the cost. Any other cell falls back to the collator's keys.
class GenericSortKeys {
public:
    explicit GenericSortKeys(const std::vector<QString> &cells);
    // The keys of `count` cells read through `cellAt`, where they lie.
    GenericSortKeys(size_t count, const std::function<QStringView(size_t)> &cellAt);

    // Negative, zero or positive, as cell a sorts before, with or after cell b.
    int compare(size_t a, size_t b) const;
    bool less(size_t a, size_t b) const { return compare(a, b) < 0; }

    // Sorts the cell numbers in [first, last) by their cells as `less` orders them, equal
    // cells by their numbers; the prefixes are compared side by side, without a look-up
    // per comparison, and nothing is held beside the numbers but one entry each.
    void sort(std::vector<int>::iterator first, std::vector<int>::iterator last) const;
    // As sort, but only [first, middle) is put in order: the cells that sort first. The
    // rest follow in no given order.
    void sortFirst(std::vector<int>::iterator first, std::vector<int>::iterator middle,
                   std::vector<int>::iterator last) const;

private:
    enum class Kind : char { Number, Ranked, Collated };
    struct Key {
        union {
            double number = 0; // a Number's value
            quint64 prefix; // a Ranked key's first eight ranks, the first one highest, zeros after
        };
        quint32 offset = 0;      // of the ASCII key in ranks_
        quint32 length : 30 = 0; // sixteen bytes a key: a large list sorts in less memory
        quint32 kindBits : 2 = quint32(Kind::Collated);
        Kind kind() const { return Kind(kindBits); }
    };

    std::vector<Key> keys_;
    QByteArray ranks_;                                      // every ASCII key, one after the other
    std::vector<std::optional<QCollatorSortKey>> collated_; // only when some cell needs it
};

// The collator behind the text order: the locale's, ignoring case.
QCollator GenericCollator();

// Reads a cell as a number the way the grid does; no value when it is not one.
std::optional<double> CellNumber(QStringView cell);
