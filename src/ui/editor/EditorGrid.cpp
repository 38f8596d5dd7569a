#include "ui/editor/EditorGrid.h"

#include "ui/common/Layout.h"
#include "ui/common/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {
constexpr int GridWidth = 9375;
} // namespace

EditorGrid::EditorGrid(QWidget *parent)
    : QTableWidget(parent)
{
    setObjectName(QStringLiteral("Grid"));
    PlaceTwips(this, 120, 600, GridWidth, 4575);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    installEventFilter(this);
    viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
}

void EditorGrid::setColumns(EditorMode mode)
{
    const QStringList titles = ColumnTitlesFor(mode);
    const std::vector<int> tenths = ColumnTenthsFor(mode);
    setRowCount(0);
    setColumnCount(int(titles.size()));
    for (int column = 0; column < int(titles.size()); ++column) {
        auto *header = new QTableWidgetItem(titles.at(column));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setHorizontalHeaderItem(column, header);
        setColumnWidth(column, Twips(ColumnWidthTwips(GridWidth, tenths[size_t(column)])));
    }
}

void EditorGrid::load(const std::vector<GridRow> &rows)
{
    setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        setRowCells(row, rows[size_t(row)]);
        setLoadedName(row, rows[size_t(row)].value(0));
    }
    Ordina();
    startOnFirstRow();
}

void EditorGrid::startOnFirstRow()
{
    if (rowCount() > 0)
        setCurrentCell(0, 0);
}

GridRow EditorGrid::rowCells(int row) const
{
    GridRow cells;
    for (int column = 0; column < columnCount(); ++column) {
        const QTableWidgetItem *cell = item(row, column);
        cells.append(cell != nullptr ? cell->text() : QString());
    }
    return cells;
}

bool EditorGrid::setRowCells(int row, const GridRow &cells)
{
    if (row < 0 || row >= rowCount())
        return false;
    bool changed = false;
    for (int column = 0; column < columnCount(); ++column) {
        const QString text = column < cells.size() ? cells.at(column) : QString();
        QTableWidgetItem *cell = item(row, column);
        if (cell == nullptr) {
            cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, column, cell);
        }
        if (cell->text() != text) {
            cell->setText(text);
            changed = true;
        }
    }
    return changed;
}

std::vector<GridRow> EditorGrid::allRows() const
{
    std::vector<GridRow> rows;
    rows.reserve(size_t(rowCount()));
    for (int row = 0; row < rowCount(); ++row)
        rows.push_back(rowCells(row));
    return rows;
}

QString EditorGrid::loadedName(int row) const
{
    const QTableWidgetItem *cell = item(row, 0);
    return cell != nullptr ? cell->data(Qt::UserRole).toString() : QString();
}

void EditorGrid::setLoadedName(int row, const QString &name)
{
    if (QTableWidgetItem *cell = item(row, 0))
        cell->setData(Qt::UserRole, name);
}

QStringList EditorGrid::loadedNames() const
{
    QStringList loaded;
    for (int row = 0; row < rowCount(); ++row)
        loaded.append(loadedName(row));
    return loaded;
}

void EditorGrid::namesSaved()
{
    for (int row = 0; row < rowCount(); ++row)
        setLoadedName(row, rowCells(row).value(0));
}

QStringList EditorGrid::names() const
{
    QStringList names;
    for (int row = 0; row < rowCount(); ++row)
        names.append(rowCells(row).value(0));
    return names;
}

void EditorGrid::Ordina()
{
    const std::vector<GridRow> rows = allRows();
    const QStringList loaded = loadedNames(); // they move with their rows
    const std::vector<int> order = SortedRowOrder(rows);
    const int current = currentRow();
    int newCurrent = -1;
    for (int place = 0; place < int(order.size()); ++place) {
        setRowCells(place, rows[size_t(order[size_t(place)])]);
        setLoadedName(place, loaded.value(order[size_t(place)]));
        if (order[size_t(place)] == current)
            newCurrent = place;
    }
    // The row that was current stays current at its new place.
    if (newCurrent >= 0)
        setCurrentCell(newCurrent, 0);
}

bool EditorGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == this) {
        const int key = static_cast<const QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
            emit editRequested();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == viewport() || watched == horizontalHeader()->viewport())) {
        emit editRequested();
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}
