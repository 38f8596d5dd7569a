#pragma once

#include "core/editor/EditorRecords.h"

#include <QTableWidget>

#include <vector>

// The editor's grid `Grid`: one record a row, its cells in the mode's column order, kept
// sorted by name. Its cells are not edited in place: a double-click anywhere on it, its
// titles included, Enter or F2 ask for the current row's record editor.
class EditorGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit EditorGrid(QWidget *parent);

    // The mode's columns, titled and sized, without rows.
    void setColumns(EditorMode mode);
    // The rows as loaded from a file, sorted, each with the name it was loaded under; the
    // first one current.
    void load(const std::vector<GridRow> &rows);

    GridRow rowCells(int row) const;
    std::vector<GridRow> allRows() const;
    // Whether a cell's text changed.
    bool setRowCells(int row, const GridRow &cells);

    // The name an emulator row was loaded under: a Save that changes it renames the
    // emulator, and its ROM list, kept saves and history go with it.
    QString loadedName(int row) const;
    void setLoadedName(int row, const QString &name);
    QStringList loadedNames() const;
    void namesSaved();         // each row's name is now the one it was loaded under
    QStringList names() const; // column 0 of each row

    // Sorts the rows by name, as SortedRowOrder does; the current row stays current.
    void Ordina();
    void startOnFirstRow();

signals:
    void editRequested(); // a double-click, Enter or F2

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
