#include "ui/browser/WindowMemory.h"

#include <QSettings>

namespace {
QSettings userSettings()
{
    // "Zanku/Zanku.conf" in the user's configuration folder: a name of its own, so it is
    // never taken for a library's "Zanku.ini".
    return QSettings(QSettings::UserScope, QStringLiteral("Zanku"), QStringLiteral("Zanku"));
}
} // namespace

WindowMemory WindowMemory::read()
{
    const QSettings settings = userSettings();
    WindowMemory memory;
    memory.geometry = settings.value(QStringLiteral("MainWindow/Geometry")).toByteArray();
    memory.covers =
        settings.value(QStringLiteral("MainWindow/View")).toString() == QLatin1String("Covers");
    return memory;
}

void WindowMemory::write() const
{
    QSettings settings = userSettings();
    settings.setValue(QStringLiteral("MainWindow/Geometry"), geometry);
    settings.setValue(QStringLiteral("MainWindow/View"),
                      covers ? QStringLiteral("Covers") : QStringLiteral("List"));
    settings.sync();
}
