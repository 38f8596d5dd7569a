#include "Report.h"

#include <QFile>

#include <algorithm>

QString Verdict(bool met)
{
    return met ? QStringLiteral("PASS") : QStringLiteral("MISS");
}

void PrintTable(QTextStream &out, const std::vector<TableLine> &lines)
{
    qsizetype widths[3] = {7, 6, 6};
    for (const TableLine &line : lines) {
        widths[0] = std::max(widths[0], line.what.size());
        widths[1] = std::max(widths[1], line.figure.size());
        widths[2] = std::max(widths[2], line.target.size());
    }
    const auto row = [&](const QString &a, const QString &b, const QString &c, const QString &d) {
        out << "| " << a.leftJustified(widths[0]) << " | " << b.rightJustified(widths[1]) << " | "
            << c.leftJustified(widths[2]) << " | " << d.leftJustified(6) << " |\n";
    };
    row(QStringLiteral("Measure"), QStringLiteral("Figure"), QStringLiteral("Target"),
        QStringLiteral("Result"));
    out << "|" << QString(widths[0] + 2, u'-') << "|" << QString(widths[1] + 1, u'-') << ":|"
        << QString(widths[2] + 2, u'-') << "|--------|\n";
    for (const TableLine &line : lines)
        row(line.what, line.figure, line.target, line.result);
    out.flush();
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() >= 3 ? QString::fromLatin1(fields[0] + ' ' + fields[1] + ' ' + fields[2])
                              : QStringLiteral("unknown");
}

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}
