#include "core/launch/LaunchLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zanku {
namespace {
const QByteArray Header = "=== Zanku: ";
constexpr qint64 LastLineWindow = 4096; // how far back the last line is looked for
constexpr qsizetype LastLineLength = 300;

// Where the newest launches that fit in `budget` bytes begin: the start of the oldest
// header kept. When even the newest launch is larger, its last `budget` bytes from a line
// start on.
qsizetype keptFrom(const QByteArray &log, qint64 budget)
{
    const qsizetype limit = log.size() - qsizetype(budget);
    if (limit <= 0)
        return 0;
    if (const qsizetype header = log.indexOf('\n' + Header, limit - 1); header >= 0)
        return header + 1;
    const qsizetype lineStart = log.indexOf('\n', limit - 1);
    return lineStart < 0 ? log.size() : lineStart + 1;
}
void boundTo(const QString &path, qint64 budget)
{
    if (QFileInfo(path).size() <= budget)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray log = file.readAll();
    file.close();
    QSaveFile bounded(path);
    if (!bounded.open(QIODevice::WriteOnly))
        return;
    const qsizetype from = keptFrom(log, budget);
    bounded.write(log.constData() + from, log.size() - from);
    bounded.commit();
}
} // namespace

QString LaunchLogPath(const QString &folder, const QString &emulator)
{
    QString name = emulator;
    name.replace(u'/', u'_');
    if (name.startsWith(u'.') || name.isEmpty())
        name.prepend(u'_');
    return QDir(folder).filePath(name + QStringLiteral(".log"));
}

void BoundLaunchLog(const QString &path)
{
    boundTo(path, LaunchLogMaxBytes);
}

qint64 BeginLaunchLog(const QString &path, const QString &game, bool bound)
{
    const QByteArray header = Header + QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() +
                              ", " + game.toUtf8() + '\n';
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return -1;
    if (bound)
        boundTo(path, LaunchLogMaxBytes - header.size());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(header) != header.size())
        return -1;
    return file.size();
}

void AddToLaunchLog(const QString &path, const QString &line)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write("Zanku: " + line.toUtf8() + '\n');
}

QString LastLaunchLogLine(const QString &path, qint64 from)
{
    QFile file(path);
    if (from < 0 || !file.open(QIODevice::ReadOnly) || file.size() <= from)
        return {};
    const qint64 start = std::max(from, file.size() - LastLineWindow);
    file.seek(start);
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        QString text = QString::fromUtf8(*line);
        text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
        text = text.trimmed();
        if (!text.isEmpty())
            return text.size() > LastLineLength ? u'…' + text.right(LastLineLength) : text;
    }
    return {};
}

} // namespace zanku
