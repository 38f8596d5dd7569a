#include "app/DesktopEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString AppId = QStringLiteral("io.github.zanku.Zanku");
} // namespace

QString DesktopExecQuoted(const QString &program)
{
    static const QString Reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(program.begin(), program.end(), [](QChar c) { return Reserved.contains(c); }))
        return program;
    QString quoted = program;
    // Inside double quotes, these four are escaped by a backslash; the file format then
    // doubles every backslash once more.
    for (const QChar c : {u'\\', u'"', u'`', u'$'})
        quoted.replace(c, QStringLiteral("\\") + c);
    return QStringLiteral("\"%1\"").arg(quoted).replace(u'\\', QStringLiteral("\\\\"));
}

DesktopEntryResult InstallDesktopEntry()
{
    const QString bundle = qEnvironmentVariable("ZANKU_BUNDLE");
    const QString program =
        bundle.isEmpty() ? QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath() : bundle;
    const QString icon = QFileInfo(program).absoluteDir().filePath(
        QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(AppId));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    const QString path = QDir(folder).filePath(AppId + QStringLiteral(".desktop"));
    const QString entry =
        QStringLiteral("[Desktop Entry]\nType=Application\nName=Zanku\n"
                       "GenericName=Emulator Front-End\n"
                       "Comment=Browse the games of several emulators in one list and start them\n"
                       "Exec=%1 --library=@data\nIcon=%2\nTerminal=false\n"
                       "Categories=Game;Emulator;\nStartupWMClass=Zanku\n")
            .arg(DesktopExecQuoted(program), QFileInfo::exists(icon) ? icon : AppId);
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
        file.write(entry.toUtf8()) < 0 || !file.commit())
        return {false, QCoreApplication::translate("StartupOptions", "cannot write %1: %2")
                           .arg(path, file.errorString())};
    return {true, path};
}
