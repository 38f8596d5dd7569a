// The editor's grid: its rows as lists of cells, and their order.

#include "ui/editor/OptionsFrm.h"

#include <QTableWidget>

void OptionsFrm::startOnFirstRow()
{
    if (Grid->rowCount() > 0)
        Grid->setCurrentCell(0, 0);
}

int OptionsFrm::rowCount() const
{
    return Grid->rowCount();
}

GridRow OptionsFrm::rowCells(int row) const
{
    GridRow cells;
    for (int column = 0; column < Grid->columnCount(); ++column) {
        const QTableWidgetItem *item = Grid->item(row, column);
        cells.append(item != nullptr ? item->text() : QString());
    }
    return cells;
}

void OptionsFrm::setRowCells(int row, const GridRow &cells)
{
    if (row < 0 || row >= Grid->rowCount())
        return;
    for (int column = 0; column < Grid->columnCount(); ++column) {
        const QString text = column < cells.size() ? cells.at(column) : QString();
        QTableWidgetItem *item = Grid->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            Grid->setItem(row, column, item);
        }
        if (item->text() != text) {
            item->setText(text);
            changed_ = true;
        }
    }
}

std::vector<GridRow> OptionsFrm::allRows() const
{
    std::vector<GridRow> rows;
    rows.reserve(size_t(Grid->rowCount()));
    for (int row = 0; row < Grid->rowCount(); ++row)
        rows.push_back(rowCells(row));
    return rows;
}

QString OptionsFrm::loadedName(int row) const
{
    const QTableWidgetItem *item = Grid->item(row, 0);
    return item != nullptr ? item->data(Qt::UserRole).toString() : QString();
}

void OptionsFrm::setLoadedName(int row, const QString &name)
{
    if (QTableWidgetItem *item = Grid->item(row, 0))
        item->setData(Qt::UserRole, name);
}

void OptionsFrm::Ordina()
{
    const std::vector<GridRow> rows = allRows();
    QStringList loaded; // the names rows were loaded under move with them
    for (int row = 0; row < Grid->rowCount(); ++row)
        loaded.append(loadedName(row));
    const std::vector<int> order = SortedRowOrder(rows);
    const int current = Grid->currentRow();
    const bool wasChanged = changed_; // moving rows is not an edit
    int newCurrent = -1;
    for (int place = 0; place < int(order.size()); ++place) {
        setRowCells(place, rows[size_t(order[size_t(place)])]);
        setLoadedName(place, loaded.value(order[size_t(place)]));
        if (order[size_t(place)] == current)
            newCurrent = place;
    }
    changed_ = wasChanged;
    // The row that was current stays current at its new place.
    if (newCurrent >= 0)
        Grid->setCurrentCell(newCurrent, 0);
}
