#include "browser/SortKeys.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>

std::optional<double> CellNumber(const QString &cell)
{
    const QString trimmed = cell.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

GenericSortKey::GenericSortKey(const QString &cell, const QCollator &collator)
    : number_(CellNumber(cell))
    , text_(collator.sortKey(number_ ? QString() : cell))
{
}

int GenericSortKey::compare(const GenericSortKey &other) const
{
    if (number_ && other.number_)
        return *number_ < *other.number_ ? -1 : (*other.number_ < *number_ ? 1 : 0);
    if (number_ || other.number_)
        return number_ ? -1 : 1;
    return text_.compare(other.text_);
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

std::vector<int> GenericSortOrder(const std::vector<QString> &cells)
{
    const QCollator collator = GenericCollator();
    std::vector<GenericSortKey> keys;
    keys.reserve(cells.size());
    for (const QString &cell : cells)
        keys.emplace_back(cell, collator);

    std::vector<int> order(cells.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    return order;
}
