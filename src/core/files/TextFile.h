#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The program's files are 8-bit text, one value per line. Reading accepts CR LF, LF and
// a lone CR, and a last line without an end; writing puts CR LF after every line.
//
// A file that is valid UTF-8 is read as UTF-8; any other is read in the legacy code page
// (Windows-1252; on Windows the system's ANSI code page), where every byte is one
// character and back. A save writes the file in the encoding it was last read with, so
// a file saved without an edit keeps every byte; a new file is UTF-8 (on Windows, the
// ANSI code page).

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

// Adds lines after the file's last one (creating it when missing) with the same one-step
// write. The bytes already there stay as they are, and the new lines take the file's own
// encoding; only when that code page cannot hold them is the whole file saved as UTF-8.
TextWriteResult AppendTextLines(const QString &path, const QStringList &lines);

// Shows the "Error" box saying that this file could not be read, and why.
void ShowReadError(const QString &path, const QString &reason);

// Writes the file and, on failure, shows the "Error" box naming the file and the reason.
bool SaveTextLines(const QString &path, const QStringList &lines);

// Shows the "Error" box for a failed write; returns whether the write succeeded.
bool ReportSave(const QString &path, const TextWriteResult &result);
