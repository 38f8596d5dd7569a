#pragma once

#include <QByteArrayView>
#include <QString>

namespace zanku {

// One line of a Pegasus file as text: UTF-8, or Latin-1 where the bytes are not UTF-8.
QString PegasusLine(QByteArrayView line);

// A description's value as it stands in the file (its first line's value and the indented
// lines after it) as text: lines joined by a space, a line holding a lone "." an empty one.
QString PegasusDescription(QByteArrayView raw);

} // namespace zanku
