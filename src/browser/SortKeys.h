#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

#include <optional>
#include <vector>

// The game grid's "generic ascending" order: a cell that reads as a number compares as
// a number, any other cell as text, case-insensitively in the locale's collation.
// Numbers come before text.
class GenericSortKey {
public:
    GenericSortKey(const QString &cell, const QCollator &collator);

    // Negative, zero or positive, as this key sorts before, with or after `other`.
    int compare(const GenericSortKey &other) const;

private:
    std::optional<double> number_;
    QCollatorSortKey text_;
};

// The collator behind GenericSortKey: the locale's, ignoring case.
QCollator GenericCollator();

// The positions 0..n-1 reordered so that the cells come in generic ascending order;
// equal cells keep their order.
std::vector<int> GenericSortOrder(const std::vector<QString> &cells);

// Reads a cell as a number the way the grid does; no value when it is not one.
std::optional<double> CellNumber(const QString &cell);
