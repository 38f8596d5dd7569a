#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The program's files are 8-bit text in the system code page, one value per line.
// Reading accepts CR LF, LF and a lone CR, and a last line without an end; writing
// puts CR LF after every line.

// Splits raw file content into lines (no line ends kept).
QStringList SplitTextLines(const QByteArray &content);

// Joins lines into file content, each followed by CR LF.
QByteArray JoinTextLines(const QStringList &lines);

struct TextReadResult {
    std::optional<QStringList> lines; // empty when the file could not be read
    QString error;                    // why, when it could not
};
TextReadResult ReadTextLines(const QString &path);

// Replaces the file in one step: the new content is written aside and renamed over the
// old file only when complete, so a failed write leaves the old file whole.
struct TextWriteResult {
    bool ok = false;
    QString error;
};
TextWriteResult WriteTextLines(const QString &path, const QStringList &lines);

// Writes the file and, on failure, shows the "Error" box naming the file and the reason.
bool SaveTextLines(const QString &path, const QStringList &lines);
