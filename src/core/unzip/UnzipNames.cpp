#include "core/unzip/UnzipNames.h"

#include "core/common/CoreText.h"
#include "core/common/ProgramFiles.h"

QString MemberPath::relative() const
{
    QStringList parts = folders;
    if (!fileName.isEmpty())
        parts.append(fileName);
    return parts.join(QLatin1Char('/'));
}

NamePlatform HostPlatform()
{
#ifdef Q_OS_WIN
    return NamePlatform::Windows;
#else
    return NamePlatform::Unix;
#endif
}

namespace {

bool isDeviceName(const QString &component)
{
    // Windows reserves these with any extension, and ignores trailing blanks before it.
    const QString stem = component.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    if (devices.contains(stem))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
           stem.at(3) >= QLatin1Char('1') && stem.at(3) <= QLatin1Char('9');
}

QString windowsReason(const QString &normal, const QStringList &components)
{
    if (normal.size() >= 2 && normal.at(1) == QLatin1Char(':') && normal.at(0).unicode() < 128 &&
        normal.at(0).isLetter())
        return zanku::CoreText::tr("a drive letter");
    for (const QChar c : normal) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return zanku::CoreText::tr("a control character");
        if (QStringLiteral(":<>\"|?*").contains(c))
            return zanku::CoreText::tr("\"%1\", which Windows does not allow in a name").arg(c);
    }
    for (const QString &component : components) {
        if (component.endsWith(QLatin1Char('.')) || component.endsWith(QLatin1Char(' ')))
            return zanku::CoreText::tr("\"%1\", which Windows would shorten").arg(component);
        if (isDeviceName(component))
            return zanku::CoreText::tr("\"%1\", a device name on Windows").arg(component);
    }
    return {};
}

} // namespace

QString UnsafeNameReason(const QString &name, NamePlatform platform)
{
    QString normal = name;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (normal.isEmpty())
        return zanku::CoreText::tr("an empty name");
    if (normal.startsWith(QLatin1Char('/')))
        return zanku::CoreText::tr("an absolute path");
    QStringList components;
    for (const QString &component : normal.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (component == QLatin1String(".."))
            return zanku::CoreText::tr("a \"..\" component, which leads out of the folder");
        // Written over the folder's marker, it would make a half-extracted folder look
        // whole; in any case, as a file system that ignores case sees it.
        if (component.compare(QLatin1String(zanku::own::Marker), Qt::CaseInsensitive) == 0)
            return zanku::CoreText::tr("the name of Zanku's own record of the folder");
        if (component != QLatin1String("."))
            components.append(component);
    }
    if (platform == NamePlatform::Windows)
        return windowsReason(normal, components);
    return {};
}

MemberPath ResolveMemberPath(const QString &name)
{
    MemberPath path;
    path.unsafe = UnsafeNameReason(name, HostPlatform());
    if (!path.unsafe.isEmpty())
        return path;
    QString normal = name;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    path.folder = normal.endsWith(QLatin1Char('/'));
    QStringList components;
    for (const QString &component : normal.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (component != QLatin1String("."))
            components.append(component);
    }
    if (components.isEmpty() && !path.folder) {
        path.unsafe = zanku::CoreText::tr("no file name");
        return path;
    }
    if (!path.folder)
        path.fileName = components.takeLast();
    path.folders = components;
    return path;
}
