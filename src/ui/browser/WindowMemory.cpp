#include "ui/browser/WindowMemory.h"

#include "core/files/SettingsFile.h"

#include <QStandardPaths>

namespace {
// The few lines of one window; anything far larger is not ours.
constexpr qint64 MaxBytes = 64 * 1024;
const QString GeometryKey = QStringLiteral("MainWindow/Geometry");
const QString ViewKey = QStringLiteral("MainWindow/View");
const QString HiddenColumnsKey = QStringLiteral("MainWindow/HiddenColumns");

QString memoryFile()
{
    // "Zanku/Zanku.conf" in the user's configuration folder: a name of its own, so it is
    // never taken for a library's "Zanku.ini". The place QSettings gave it before.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Zanku/Zanku.conf");
}
} // namespace

WindowMemory WindowMemory::read()
{
    // Never through QSettings, which would wait for good on a pipe in the file's place.
    const zanku::Settings settings = zanku::ReadSettingsFile(memoryFile(), MaxBytes);
    WindowMemory memory;
    memory.geometry = settings.value(GeometryKey).toByteArray();
    memory.covers = settings.value(ViewKey).toString() == QLatin1String("Covers");
    return memory;
}

void WindowMemory::write() const
{
    // Something else in the file's place (a pipe, a device, a huge file) is left as it is.
    QString error;
    zanku::Settings settings = zanku::ReadSettingsFile(memoryFile(), MaxBytes, &error);
    if (!error.isEmpty())
        return;
    settings.insert(GeometryKey, geometry);
    settings.insert(ViewKey, covers ? QStringLiteral("Covers") : QStringLiteral("List"));
    zanku::WriteSettingsFile(memoryFile(), settings);
}

QStringList WindowMemory::hiddenColumns()
{
    const QString names =
        zanku::ReadSettingsFile(memoryFile(), MaxBytes).value(HiddenColumnsKey).toString();
    return names.split(u' ', Qt::SkipEmptyParts);
}

void WindowMemory::setHiddenColumns(const QStringList &columns)
{
    QString error;
    zanku::Settings settings = zanku::ReadSettingsFile(memoryFile(), MaxBytes, &error);
    if (!error.isEmpty())
        return;
    settings.insert(HiddenColumnsKey, columns.join(u' '));
    zanku::WriteSettingsFile(memoryFile(), settings);
}
