#pragma once

#include <QString>
#include <QStringView>

// A file name without its last extension: the last "." not counting the final
// character ends it. "puzzle.nes" -> "puzzle", "a.b.c" -> "a.b", ".nes" -> "",
// "puzzle." and "puzzle" stay unchanged.
QString StripExtension(const QString &fileName);
QStringView StripExtension(QStringView fileName);
