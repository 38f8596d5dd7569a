#include "catalogue/TextFile.h"

#include "app/Messages.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

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

TextWriteResult WriteTextLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    const QByteArray content = JoinTextLines(lines);
    if (file.write(content) != content.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {false, error};
    }
    if (!file.commit())
        return {false, file.errorString()};
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
