#include "core/files/FileNames.h"

QStringView StripExtension(QStringView fileName)
{
    // The final character is never taken as the extension's dot.
    const qsizetype dot =
        fileName.size() >= 2 ? fileName.lastIndexOf(u'.', fileName.size() - 2) : qsizetype(-1);
    return dot >= 0 ? fileName.first(dot) : fileName;
}

QString StripExtension(const QString &fileName)
{
    const QStringView stripped = StripExtension(QStringView(fileName));
    return stripped.size() == fileName.size() ? fileName : stripped.toString();
}
