#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's files are 8-bit text, one value per line. Reading accepts CR LF, LF and
// a lone CR, and a last line without an end; writing puts CR LF after every line.
//
// A file that is valid UTF-8 is read as UTF-8; any other is read in the legacy code page
// (Windows-1252; on Windows the system's ANSI code page), where every byte is one
// character and back. A save writes the file in the encoding it was read with, so a file
// saved without an edit keeps every byte; a new file is UTF-8 (on Windows, the ANSI code
// page). Nothing here shows a message: every failure comes back with its reason.

enum class TextEncoding { Utf8, Utf8WithBom, Legacy };

// What a file was read or written as: enough to write it back the same way and to tell
// whether anything changed it since.
struct FileVersion {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since 1970
    QByteArray hash;     // of every byte
    TextEncoding encoding = TextEncoding::Utf8;

    // The same bytes (or, both times, no file): saving over it loses nothing.
    bool sameContentAs(const FileVersion &other) const;
};

// The version of the file at `path` as it is now; no file gives exists false.
FileVersion CurrentVersion(const QString &path);

struct TextReadResult {
    enum Status { Read, Missing, Unreadable };
    Status status = Missing;
    QStringList lines;
    QString error;       // why it could not be read
    FileVersion version; // of what was read; of no file when it is missing
};
// Without `versioned` the version holds no hash: for a reader that never saves.
TextReadResult ReadTextLines(const QString &path, bool versioned = true);

// The same read with the decoded text left whole in `text` and `lines` empty, for a reader
// that walks the lines with TextLines instead of holding a list of them.
TextReadResult ReadText(const QString &path, QString &text, bool versioned = true);

// The lines of a text one after the other, each without its end (CR LF, LF or a lone CR).
// The next CR and the next LF are each looked for with Qt's vectorised search and kept
// until passed, so a text of a million lines is swept once for each, not a character at
// a time.
class TextLines {
public:
    explicit TextLines(QStringView text)
        : text_(text)
    {
    }
    // The next line; false once the text is done.
    bool next(QStringView &line);

private:
    qsizetype nextOf(char16_t end) const;

    QStringView text_;
    qsizetype at_ = 0;
    qsizetype nextCr_ = -1, nextLf_ = -1; // the text's size when there is none
};

struct TextWriteResult {
    bool ok = false;
    QString error;       // why, when it failed
    FileVersion version; // of the file written
};

// Replaces the file in one step: the new content is written aside and renamed over the
// old file only when every byte is seen on disk, so a failed or short write (a full
// disk) leaves the old file whole and never an empty or cut one in its place. A text the
// legacy code page cannot hold is written as UTF-8 instead, so nothing typed is lost.
TextWriteResult WriteTextLines(const QString &path, const QStringList &lines,
                               TextEncoding encoding);

// The same one-step write of bytes given as they are (UTF-8 text, say).
TextWriteResult WriteFileBytes(const QString &path, const QByteArray &content);

// The same write of a file that must not be there yet: refused when anything has its
// name, a link that leads nowhere included, even when it came after the writing began.
// Nothing is ever written through a link.
TextWriteResult WriteNewFileBytes(const QString &path, const QByteArray &content);

// Adds lines after the file's last one (creating it when missing) with the same one-step
// write. The bytes already there stay as they are, and the new lines follow in the file's
// own encoding (never a second byte order mark); only when that code page cannot hold
// them is the whole file saved as UTF-8.
TextWriteResult AppendTextLines(const QString &path, const QStringList &lines);

// "Cannot read <file>: <reason>" and "Could not save <file>: <reason>...", as the
// "Error" boxes say them.
QString ReadErrorText(const QString &path, const QString &reason);
QString SaveErrorText(const QString &path, const QString &reason);
