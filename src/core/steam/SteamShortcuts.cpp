#include "core/steam/SteamShortcuts.h"

#include "core/common/CoreText.h"

#include "core/common/Quoted.h"
#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"
#include "core/steam/ShortcutsVdf.h"
#include "core/unzip/Crc32.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <unistd.h>

namespace zanku {
namespace {
constexpr qint64 MaxListBytes = 64 << 20;
constexpr qint64 MaxPictureBytes = 64 << 20;

// The shortcut's own fields, set over what the list had: whatever Steam or the player
// added to it (its tags, its last play) stays.
void fill(VdfFields &fields, const SteamShortcut &shortcut, quint32 appId)
{
    SetVdfInt(fields, "appid", qint32(appId));
    SetVdfString(fields, "AppName", shortcut.appName);
    SetVdfString(fields, "Exe", shortcut.exe);
    SetVdfString(fields, "StartDir", shortcut.startDir);
    SetVdfString(fields, "LaunchOptions", shortcut.launchOptions);
}

VdfFields newFields(const SteamShortcut &shortcut, quint32 appId)
{
    VdfFields fields;
    fill(fields, shortcut, appId);
    SetVdfString(fields, "icon", shortcut.cover);
    SetVdfString(fields, "ShortcutPath", {});
    for (const char *flag : {"IsHidden", "AllowDesktopConfig", "AllowOverlay", "OpenVR"})
        SetVdfInt(fields, flag,
                  qstrcmp(flag, "AllowDesktopConfig") == 0 || qstrcmp(flag, "AllowOverlay") == 0);
    SetVdfInt(fields, "LastPlayTime", 0);
    fields.push_back({VdfField::Map, "tags", QByteArray(1, char(VdfField::End))});
    return fields;
}

// The shortcut added before for this game, by its number or by its program and options.
int findShortcut(const ShortcutsVdf &list, const SteamShortcut &shortcut, quint32 appId)
{
    for (int i = 0; i < list.count(); ++i) {
        const VdfFields fields = list.fields(i);
        if (VdfInt(fields, "appid") == qint32(appId) ||
            (VdfString(fields, "Exe") == shortcut.exe &&
             VdfString(fields, "LaunchOptions") == shortcut.launchOptions))
            return i;
    }
    return -1;
}

// A picture as Steam's grid takes it: PNG bytes as they are, anything else converted.
QString writePicture(const QString &from, const QString &to)
{
    const RegularFileRead read = ReadRegularFile(from, MaxPictureBytes);
    if (!read.ok())
        return ReadErrorText(from, read.reason);
    QByteArray png = read.content;
    if (!png.startsWith("\x89PNG\r\n\x1a\n")) {
        QImage image;
        QBuffer buffer(&png);
        if (!image.loadFromData(read.content) || !buffer.open(QIODevice::WriteOnly) ||
            !image.save(&buffer, "PNG"))
            return ReadErrorText(from, CoreText::tr("it is not a picture that can be read"));
    }
    const TextWriteResult written = WriteFileBytes(to, png);
    return written.ok ? QString() : SaveErrorText(to, written.error);
}

void addPictures(const QString &config, const SteamShortcut &shortcut, quint32 appId,
                 SteamResult &result)
{
    const QDir grid(QDir(config).filePath(QStringLiteral("grid")));
    const QString id = QString::number(appId);
    for (const auto &[picture, suffix] : {std::pair{&shortcut.cover, "p"},
                                          {&shortcut.titleScreen, "_hero"},
                                          {&shortcut.snapshot, ""}}) {
        if (picture->isEmpty())
            continue;
        const QString problem =
            QDir().mkpath(grid.path())
                ? writePicture(*picture, grid.filePath(id + QLatin1String(suffix) + ".png"))
                : SaveErrorText(grid.path(), CoreText::tr("the folder cannot be made"));
        if (!problem.isEmpty())
            result.problems.append(problem);
    }
}

// One user's list: read, changed, and written back with its backup.
void addTo(const QString &file, const QList<SteamShortcut> &shortcuts, SteamResult &result)
{
    const RegularFileRead read = ReadRegularFile(file, MaxListBytes);
    if (!read.ok() && read.status != RegularFileRead::Missing) {
        result.problems.append(ReadErrorText(file, read.reason));
        return;
    }
    std::optional<ShortcutsVdf> list = ShortcutsVdf::parse(read.content);
    if (!list) {
        result.problems.append(
            CoreText::tr("%1 is not a list of shortcuts Zanku can read; it was left as it is.")
                .arg(Quoted(QDir::toNativeSeparators(file))));
        return;
    }
    int added = 0, updated = 0;
    for (const SteamShortcut &shortcut : shortcuts) {
        const quint32 appId = SteamAppId(shortcut.exe, shortcut.appName);
        if (const int found = findShortcut(*list, shortcut, appId); found >= 0) {
            VdfFields fields = list->fields(found);
            fill(fields, shortcut, appId);
            list->replace(found, fields);
            ++updated;
        } else {
            list->append(newFields(shortcut, appId));
            ++added;
        }
    }
    const QString config = QFileInfo(file).path();
    const QString backup = file + QStringLiteral(".bak");
    TextWriteResult written{true, {}, {}};
    if (read.ok())
        written = WriteFileBytes(backup, read.content);
    if (written.ok && list->bytes() != read.content)
        written = WriteFileBytes(file, list->bytes());
    if (!written.ok) {
        result.problems.append(SaveErrorText(read.ok() ? backup : file, written.error));
        return;
    }
    for (const SteamShortcut &shortcut : shortcuts)
        addPictures(config, shortcut, SteamAppId(shortcut.exe, shortcut.appName), result);
    result.added += added;
    result.updated += updated;
    result.users.append(QFileInfo(QFileInfo(config).path()).fileName());
}
} // namespace

quint32 SteamAppId(const QString &exe, const QString &appName)
{
    const QByteArray key = exe.toUtf8() + appName.toUtf8();
    return quint32(Crc32(0, reinterpret_cast<const unsigned char *>(key.constData()),
                         size_t(key.size()))) |
           0x80000000u;
}

QStringList SteamShortcutFiles(const QString &home)
{
    QStringList files;
    QStringList seen;
    for (const char *folder : {".local/share/Steam", ".steam/steam"}) {
        const QString steam =
            QFileInfo(QDir(home).filePath(QLatin1String(folder))).canonicalFilePath();
        if (steam.isEmpty() || seen.contains(steam))
            continue;
        seen.append(steam);
        const QDir users(steam + QStringLiteral("/userdata"));
        for (const QString &user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            bool number = false;
            user.toULongLong(&number);
            if (number)
                files.append(users.filePath(user + QStringLiteral("/config/shortcuts.vdf")));
        }
    }
    return files;
}

bool SteamRunning()
{
    const QDir processes(QStringLiteral("/proc"));
    const uint user = ::getuid();
    for (const QString &pid : processes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(processes.filePath(pid + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "steam" &&
            QFileInfo(processes.filePath(pid)).ownerId() == user)
            return true;
    }
    return false;
}

SteamResult AddSteamShortcuts(const QString &home, const QList<SteamShortcut> &shortcuts)
{
    SteamResult result;
    const QStringList files = SteamShortcutFiles(home);
    if (files.isEmpty())
        result.problems.append(
            CoreText::tr("No Steam user was found: Steam keeps them in %1.")
                .arg(Quoted(QDir(home).filePath(QStringLiteral(".local/share/Steam/userdata")))));
    else if (SteamRunning())
        result.problems.append(CoreText::tr(
            "Steam is running: close Steam first, then add the games again. Steam would "
            "otherwise write its own list over them."));
    else
        for (const QString &file : files) {
            if (QDir().mkpath(QFileInfo(file).path()))
                addTo(file, shortcuts, result);
            else
                result.problems.append(
                    SaveErrorText(file, CoreText::tr("its folder cannot be made")));
        }
    return result;
}

} // namespace zanku
