#include "core/launch/ExtractionFolder.h"

#include "core/files/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace zanku {
namespace {
// Every regular file under the folder (links neither listed nor followed), by path
// relative to it, with "/".
QHash<QString, QPair<qint64, qint64>> filesIn(const QString &folder)
{
    QHash<QString, QPair<qint64, qint64>> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString relative = base.relativeFilePath(info.filePath());
        if (relative != QLatin1String(MarkerName))
            files.insert(relative, {info.size(), info.lastModified().toMSecsSinceEpoch()});
    }
    return files;
}

// Replaces `to` with the file at `from`, moved or copied; false when it cannot.
bool place(const QString &from, const QString &to, bool move)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (QFileInfo(to).isFile() && !QFile::remove(to))
        return false;
    return move ? QFile::rename(from, to) : QFile::copy(from, to);
}
} // namespace

QString NewToken()
{
    return QString::number(QRandomGenerator::system()->generate64(), 36) +
           QString::number(QRandomGenerator::system()->generate64(), 36);
}

bool WriteMarker(const QString &folder, ExtractionMarker &marker)
{
    marker.files = filesIn(folder);
    QStringList lines{marker.token, marker.emulator, marker.gameFile};
    for (auto file = marker.files.cbegin(); file != marker.files.cend(); ++file) {
        lines.append(QStringLiteral("%1 %2 %3")
                         .arg(file.value().first)
                         .arg(file.value().second)
                         .arg(QString::fromLatin1(file.key().toUtf8().toPercentEncoding("/"))));
    }
    return WriteTextLines(QDir(folder).filePath(QLatin1String(MarkerName)), lines,
                          TextEncoding::Utf8)
        .ok;
}

std::optional<ExtractionMarker> ReadMarker(const QString &folder)
{
    const TextReadResult read = ReadTextLines(QDir(folder).filePath(QLatin1String(MarkerName)));
    if (read.status != TextReadResult::Read || read.lines.size() < 3 || read.lines[0].isEmpty())
        return std::nullopt;
    ExtractionMarker marker{read.lines[0], read.lines[1], read.lines[2], {}};
    for (qsizetype i = 3; i < read.lines.size(); ++i) {
        const QStringList fields = read.lines[i].split(u' ');
        if (fields.size() != 3)
            return std::nullopt;
        marker.files.insert(
            QString::fromUtf8(QByteArray::fromPercentEncoding(fields[2].toLatin1())),
            {fields[0].toLongLong(), fields[1].toLongLong()});
    }
    return marker;
}

QString SavesFolder(const QString &programDir, const QString &emulator, const QString &gameFile)
{
    // A game's File may hold folders, or "..", and a name typed into "Zanku.ini" by hand
    // anything: each names one folder under "Saves" all the same.
    const auto oneFolder = [](QString name) {
        name.replace(u'/', u'_').replace(u'\\', u'_');
        return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
                   ? QStringLiteral("_")
                   : name;
    };
    return QDir(programDir).filePath(
        QStringLiteral("Saves/%1/%2").arg(oneFolder(emulator), oneFolder(gameFile)));
}

int KeepPlayersFiles(const QString &folder, const ExtractionMarker &marker, const QString &saves)
{
    int kept = 0;
    const auto now = filesIn(folder);
    for (auto file = now.cbegin(); file != now.cend(); ++file) {
        const auto written = marker.files.constFind(file.key());
        if (written != marker.files.cend() && written.value() == file.value())
            continue; // as extracted
        kept += place(QDir(folder).filePath(file.key()), QDir(saves).filePath(file.key()), true);
    }
    return kept;
}

void RestoreKeptFiles(const QString &saves, const QString &folder)
{
    if (!QFileInfo(saves).isDir())
        return;
    const QDir base(saves);
    QDirIterator it(saves, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = base.relativeFilePath(it.next());
        place(base.filePath(relative), QDir(folder).filePath(relative), false);
    }
}

} // namespace zanku
