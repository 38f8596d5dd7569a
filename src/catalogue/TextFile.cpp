#include "catalogue/TextFile.h"

#include "app/Messages.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

QStringList SplitTextLines(const QByteArray &content)
{
    // Decoded once: the line ends are plain ASCII in every code page the files use.
    const QString text = QString::fromLocal8Bit(content);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QByteArray JoinTextLines(const QStringList &lines)
{
    QByteArray content;
    for (const QString &line : lines) {
        content += line.toLocal8Bit();
        content += "\r\n";
    }
    return content;
}

TextReadResult ReadTextLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, file.errorString()};
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, file.errorString()};
    return {SplitTextLines(content), QString()};
}

namespace {
// Why a file operation failed, in words a player can read. Qt's own text is the
// system's (for example "No space left on device"); a few failures carry none.
QString failureReason(const QFileDevice &file)
{
    const QString text = file.errorString();
    if (!text.isEmpty() && text != QLatin1String("Unknown error"))
        return text;
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return QStringLiteral("the disk is full");
    case QFileDevice::PermissionsError:
        return QStringLiteral("permission denied");
    case QFileDevice::OpenError:
        return QStringLiteral("the file could not be created");
    case QFileDevice::RenameError:
        return QStringLiteral("the new file could not take the old one's place");
    default:
        return QStringLiteral("the data could not be written");
    }
}
} // namespace

TextWriteResult WriteTextLines(const QString &path, const QStringList &lines)
{
    // Unbuffered, so that every write reaches the file system here, where its failure
    // is seen, and not in a buffer that the commit would flush and then rename anyway.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, failureReason(file)};
    const QByteArray content = JoinTextLines(lines);
    for (qsizetype done = 0; done < content.size();) {
        const qint64 written = file.write(content.constData() + done, content.size() - done);
        if (written <= 0 || file.error() != QFileDevice::NoError) {
            const QString error = failureReason(file);
            file.cancelWriting(); // the temporary file goes, the old file stays
            return {false, error};
        }
        done += written;
    }
#ifdef Q_OS_LINUX
    // Some file systems report a full disk only when the data goes out; the commit
    // would ignore that failure of its own sync.
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        const QString error = QString::fromLocal8Bit(strerror(errno));
        file.cancelWriting();
        return {false, error};
    }
#endif
    if (!file.commit())
        return {false, failureReason(file)};
    return {true, QString()};
}

bool SaveTextLines(const QString &path, const QStringList &lines)
{
    const TextWriteResult result = WriteTextLines(path, lines);
    if (!result.ok) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("Could not save %1: %2\nThe file on disk is unchanged.")
                        .arg(QDir::toNativeSeparators(path), result.error));
    }
    return result.ok;
}
