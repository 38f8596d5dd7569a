#include "core/import/ImportGameName.h"

QString ImportName(QStringView baseName)
{
    // As replacing "_" and "." by blanks, then trimming, in one pass.
    const auto blank = [](QChar c) { return c == u'_' || c == u'.' || c.isSpace(); };
    qsizetype first = 0, last = baseName.size();
    while (first < last && blank(baseName[first]))
        ++first;
    while (last > first && blank(baseName[last - 1]))
        --last;
    if (first == last)
        return baseName.toString();
    QString name(last - first, Qt::Uninitialized);
    QChar *out = name.data();
    for (const QChar c : baseName.sliced(first, last - first))
        *out++ = c == u'_' || c == u'.' ? QChar(u' ') : c;
    return name;
}
