#pragma once

#include <QString>
#include <QTextStream>

#include <vector>

// One line of a benchmark's result table.
struct TableLine {
    QString what;
    QString figure;
    QString target; // empty: a figure without a target
    QString result; // "PASS", "MISS" or empty
};

// Standard output, for every line a benchmark prints.
QTextStream &out();

QString Verdict(bool met);

// Prints the lines as a Markdown table (Measure | Figure | Target | Result).
void PrintTable(QTextStream &out, const std::vector<TableLine> &lines);

// The machine's load average ("1.20 0.80 0.50"), so a reader can tell a busy machine
// from a slow program.
QString LoadAverage();
