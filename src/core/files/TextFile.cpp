#include "core/files/TextFile.h"

#include "core/common/CoreText.h"
#include "core/common/Quoted.h"
#include "core/files/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <QRandomGenerator>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// A ROM list of 200,000 games is some 20 MiB; anything far beyond that is not one of ours.
constexpr qint64 MaxTextFileSize = 64 * 1024 * 1024;
QString NotAFileText()
{
    return zanku::CoreText::tr("not a regular file (it is a folder, a device or a pipe)");
}

#ifdef Q_OS_WIN
constexpr TextEncoding NewFileEncoding = TextEncoding::Legacy;
#else
constexpr TextEncoding NewFileEncoding = TextEncoding::Utf8;
#endif

const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// The legacy code page. Without Windows-1252 (a Qt built without ICU), Latin-1 still
// keeps every byte. The converters are made in place: a moved one stops reporting
// characters it cannot encode.
bool haveWindows1252()
{
    static const bool have = QStringDecoder("windows-1252").isValid();
    return have;
}

QStringDecoder legacyDecoder()
{
#ifdef Q_OS_WIN
    return QStringDecoder(QStringConverter::System);
#else
    return haveWindows1252() ? QStringDecoder("windows-1252")
                             : QStringDecoder(QStringConverter::Latin1);
#endif
}

QStringEncoder legacyEncoder()
{
#ifdef Q_OS_WIN
    return QStringEncoder(QStringConverter::System);
#else
    return haveWindows1252() ? QStringEncoder("windows-1252")
                             : QStringEncoder(QStringConverter::Latin1);
#endif
}

// Decodes into `text`, in the room it already has: a catalogue decodes list after list
// into one string, and fresh room for each would be memory the system must hand over
// page by page again.
void decodeInto(const QByteArray &content, TextEncoding &encoding, QString &text)
{
    const auto into = [&](QStringDecoder &decoder) {
        text.resize(decoder.requiredSpace(content.size()));
        QChar *const start = text.data();
        text.truncate(decoder.appendToBuffer(start, content) - start);
    };
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    into(utf8);
    if (!utf8.hasError()) {
        encoding = content.startsWith(Utf8Bom) ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
        return;
    }
    encoding = TextEncoding::Legacy;
    QStringDecoder legacy = legacyDecoder();
    into(legacy);
}

QString decode(const QByteArray &content, TextEncoding &encoding)
{
    QString text;
    decodeInto(content, encoding, text);
    return text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    TextLines walk(text);
    for (QStringView line; walk.next(line);)
        lines.append(line.toString());
    return lines;
}

// The file content in this encoding; a text the legacy code page cannot hold is written
// as UTF-8 instead (and `encoding` says so), so no character is lost.
QByteArray encode(const QStringList &lines, TextEncoding &encoding, bool withBom = true)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    if (encoding == TextEncoding::Legacy) {
        QStringEncoder legacy = legacyEncoder();
        QByteArray content = legacy.encode(text);
        if (!legacy.hasError())
            return content;
        encoding = TextEncoding::Utf8;
    }
    const bool bom = withBom && encoding == TextEncoding::Utf8WithBom;
    return (bom ? Utf8Bom : QByteArray()) + text.toUtf8();
}

// Why a file operation failed, in words a player can read. Qt's own text is the
// system's (for example "No space left on device"); a few failures carry none.
QString failureReason(const QFileDevice &file)
{
    const QString text = file.errorString();
    if (!text.isEmpty() && text != QLatin1String("Unknown error"))
        return text;
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return zanku::CoreText::tr("the disk is full");
    case QFileDevice::PermissionsError:
        return zanku::CoreText::tr("permission denied");
    case QFileDevice::OpenError:
        return zanku::CoreText::tr("the file could not be created");
    case QFileDevice::RenameError:
        return zanku::CoreText::tr("the new file could not take the old one's place");
    default:
        return zanku::CoreText::tr("the data could not be written");
    }
}

#ifdef Q_OS_UNIX
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
#endif

// The whole content of a regular file of at most MaxTextFileSize bytes, read without
// ever waiting on a pipe or a device. Returns why it failed, or nothing.
QString readWholeFile(const QString &path, QByteArray &content)
{
    RegularFileRead read = ReadRegularFile(path, MaxTextFileSize);
    if (read.status == RegularFileRead::TooLarge)
        return zanku::CoreText::tr(
            "it is over 64 MiB, too large to be a list of emulators or games");
    content = std::move(read.content);
    return read.reason;
}

// The version of a file whose bytes are `content`.
FileVersion versionOf(const QByteArray &content, const QString &path, bool hashed = true)
{
    FileVersion version;
    version.exists = true;
    version.size = content.size();
    if (hashed) {
        version.modified = QFileInfo(path).lastModified().toMSecsSinceEpoch();
        version.hash = QCryptographicHash::hash(content, QCryptographicHash::Sha1);
    }
    return version;
}

// Writes every byte of `content` to the open file and sees that all of it is there: a
// write that fails or stops short, a flush, a size that is not the content's, a sync the
// file system refuses. Returns why it failed, or nothing.
QString writeEvery(QFileDevice &file, const QByteArray &content)
{
    for (qsizetype done = 0; done < content.size();) {
        const qint64 written = file.write(content.constData() + done, content.size() - done);
        if (written <= 0 || file.error() != QFileDevice::NoError)
            return failureReason(file);
        done += written;
    }
    if (!file.flush())
        return failureReason(file);
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::fstat(file.handle(), &status) != 0)
        return systemError();
    if (status.st_size != content.size())
        return zanku::CoreText::tr("only %1 of its %2 bytes could be written")
            .arg(status.st_size)
            .arg(content.size());
#endif
#ifdef Q_OS_LINUX
    // Some file systems report a full disk only when the data goes out; a commit would
    // ignore that failure of its own sync.
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP)
        return systemError();
#endif
    return {};
}

TextWriteResult written(const QString &path, const QByteArray &content, TextEncoding encoding)
{
    FileVersion version = versionOf(content, path);
    version.encoding = encoding;
    return {true, QString(), version};
}

// Replaces the file with this content in one step.
TextWriteResult writeWholeFile(const QString &path, const QByteArray &content,
                               TextEncoding encoding)
{
    // Only a regular file is replaced: a device behind a link must never be.
    if (const QFileInfo existing(path); existing.exists() && !existing.isFile())
        return {false, NotAFileText(), {}};
    // Unbuffered, so that every write reaches the file system here, where its failure
    // is seen, and not in a buffer that the commit would flush and then rename anyway.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, failureReason(file), {}};
    if (const QString error = writeEvery(file, content); !error.isEmpty()) {
        file.cancelWriting(); // the temporary file goes, the old file stays
        return {false, error, {}};
    }
    if (!file.commit())
        return {false, failureReason(file), {}};
    return written(path, content, encoding);
}

// Why nothing could be put at `path`, which something took.
QString takenReason(const QString &path)
{
    return QFileInfo(path).isSymLink()
               ? zanku::CoreText::tr(
                     "a link of that name is there, and no file is written through one")
               : zanku::CoreText::tr("a file of that name is already there");
}

// Gives the finished file `from` the name `to` only while nothing has it, a link that
// leads nowhere included. Returns why it could not, or nothing.
QString placeNew(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return errno == EEXIST ? takenReason(to) : systemError();
#endif
    // A file system without that rename: a second name, which is never made over another.
    if (::link(source.constData(), target.constData()) != 0)
        return errno == EEXIST ? takenReason(to) : systemError();
    ::unlink(source.constData());
    return {};
}

} // namespace

bool FileVersion::sameContentAs(const FileVersion &other) const
{
    return exists == other.exists && (!exists || (size == other.size && hash == other.hash));
}

FileVersion CurrentVersion(const QString &path)
{
    QByteArray content;
    if (!QFileInfo::exists(path) || !readWholeFile(path, content).isEmpty())
        return {QFileInfo::exists(path), -1, 0, {}, NewFileEncoding}; // there, but unreadable
    return versionOf(content, path);
}

qsizetype TextLines::nextOf(char16_t end) const
{
    const qsizetype found = text_.indexOf(QChar(end), at_);
    return found < 0 ? text_.size() : found;
}

bool TextLines::next(QStringView &line)
{
    if (at_ >= text_.size())
        return false;
    if (nextCr_ < at_)
        nextCr_ = nextOf(u'\r');
    if (nextLf_ < at_)
        nextLf_ = nextOf(u'\n');
    const qsizetype end = std::min(nextCr_, nextLf_);
    line = text_.sliced(at_, end - at_);
    at_ = end + (end == nextCr_ && nextLf_ == end + 1 ? 2 : 1);
    return true;
}

TextReadResult ReadText(const QString &path, QString &text, bool versioned)
{
    TextReadResult result;
    text.truncate(0); // keeps its room
    result.version.encoding = NewFileEncoding;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return result;
    QByteArray content;
    if (const QString error = readWholeFile(path, content); !error.isEmpty()) {
        result.status = TextReadResult::Unreadable;
        result.error = error;
        result.version = CurrentVersion(path);
        return result;
    }
    result.status = TextReadResult::Read;
    result.version = versionOf(content, path, versioned);
    decodeInto(content, result.version.encoding, text);
    return result;
}

TextReadResult ReadTextLines(const QString &path, bool versioned)
{
    QString text;
    TextReadResult result = ReadText(path, text, versioned);
    result.lines = splitLines(text);
    return result;
}

TextWriteResult WriteTextLines(const QString &path, const QStringList &lines, TextEncoding encoding)
{
    const QByteArray content = encode(lines, encoding);
    return writeWholeFile(path, content, encoding);
}

TextWriteResult WriteFileBytes(const QString &path, const QByteArray &content)
{
    return writeWholeFile(path, content, TextEncoding::Utf8);
}

TextWriteResult WriteNewFileBytes(const QString &path, const QByteArray &content)
{
    // Made beside it, so the rename stays on one file system; with the mode any new file
    // of the player's gets.
    const quint32 random = QRandomGenerator::global()->generate();
    QFile file(path + QStringLiteral(".%1.part").arg(random, 8, 16, QLatin1Char('0')));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return {false, failureReason(file), {}};
    QString error = writeEvery(file, content);
    file.close();
    if (error.isEmpty())
        error = placeNew(file.fileName(), path);
    if (!error.isEmpty()) {
        file.remove();
        return {false, error, {}};
    }
    return written(path, content, TextEncoding::Utf8);
}

TextWriteResult AppendTextLines(const QString &path, const QStringList &lines)
{
    QByteArray content;
    TextEncoding encoding = NewFileEncoding;
    QStringList existing;
    if (QFileInfo::exists(path)) {
        if (const QString error = readWholeFile(path, content); !error.isEmpty())
            return {false, error, {}};
        existing = splitLines(decode(content, encoding));
    }
    TextEncoding addedEncoding = encoding;
    // What follows existing bytes never starts with a byte order mark of its own.
    const QByteArray added = encode(lines, addedEncoding, content.isEmpty());
    if (addedEncoding != encoding) // the file's code page cannot hold the new lines
        return writeWholeFile(path, encode(existing + lines, addedEncoding), addedEncoding);
    if (!content.isEmpty() && !content.endsWith('\n') && !content.endsWith('\r'))
        content += "\r\n";
    return writeWholeFile(path, content + added, encoding);
}

QString SaveErrorText(const QString &path, const QString &reason)
{
    return zanku::CoreText::tr("Could not save %1: %2\nThe file on disk is unchanged.")
        .arg(Quoted(QDir::toNativeSeparators(path)), reason);
}

QString ReadErrorText(const QString &path, const QString &reason)
{
    return zanku::CoreText::tr("Cannot read %1: %2")
        .arg(Quoted(QDir::toNativeSeparators(path)), reason);
}
