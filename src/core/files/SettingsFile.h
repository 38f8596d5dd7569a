#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// A small settings file of the user's own, in the INI form QSettings writes, so a file an
// earlier Zanku wrote through QSettings reads as it was: "[Group]" lines, then
// "key=value" lines, values in QSettings' escapes, bytes as "@ByteArray(...)". It is read
// through the non-blocking, size-capped reader and written through the one writer, so a
// pipe, a device or a huge file in its place never holds the program.

namespace zanku {

// Values by "Group/key": text as a QString, bytes as a QByteArray.
using Settings = QMap<QString, QVariant>;

// The values of the text; a line that is not "key=value" is skipped.
Settings ParseSettings(const QByteArray &text);
QByteArray FormatSettings(const Settings &values);

// The file's values; none when it is missing, not a regular file, larger than
// `maxBytes` or unreadable (`error` then says why, empty when it is only missing).
Settings ReadSettingsFile(const QString &path, qint64 maxBytes, QString *error = nullptr);
// Replaces the file in one step, making its folder; false with `error` when it cannot.
bool WriteSettingsFile(const QString &path, const Settings &values, QString *error = nullptr);

} // namespace zanku
