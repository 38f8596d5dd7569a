#include "core/unzip/VBUnzBas.h"

#include "core/common/Messages.h"
#include "app/Version.h"
#include "core/unzip/UnzipEngine.h"

#include <algorithm>

std::array<QString, UnzipNameSlots> IncludeNames;
std::array<QString, UnzipNameSlots> ExcludeNames;
QString CrLf;
QString UnzipText;
QString UnzipListing;
int UnzipListCount = 0;

UnzipOptions UnzipOptionRecord;
UnzipCallbacks UnzipCallbackRecord;

namespace {

// The print buffer holds at most this many characters; a name buffer 256.
constexpr qsizetype PrintBufferSize = 32801;
constexpr qsizetype NameBufferSize = 256;

// The text up to its first zero character, at most limit characters.
QString bufferText(const QString &text, qsizetype limit)
{
    QString result = text.left(limit);
    const qsizetype zero = result.indexOf(QChar(0));
    if (zero >= 0)
        result.truncate(zero);
    return result;
}

// Writes piece into line from column (counted from 1), over as many columns as it has
// characters and never past the line's end.
void putAt(QString &line, int column, const QString &piece)
{
    const qsizetype start = column - 1;
    const qsizetype count = std::min(piece.size(), line.size() - start);
    if (count > 0)
        line.replace(start, count, piece.left(count));
}

// A number as decimal text with a blank where a minus sign would go.
QString signedText(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString twoDigits(int value)
{
    return (QLatin1Char('0') + QString::number(value)).right(2);
}

QString blankLine()
{
    return QString(80, QLatin1Char(' '));
}

} // namespace

int UnzipPrint(const QString &text)
{
    UnzipText += bufferText(text, PrintBufferSize);
    return 0;
}

int UnzipReplace(const QString &fileName)
{
    const QString name = bufferText(fileName, NameBufferSize);
    switch (ShowMessage(QStringLiteral("VBUnzip - File already exists"),
                        QStringLiteral("Overwrite ") + Quoted(name) + QLatin1Char('?'),
                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::No:
        return UnzipSkipThisFile;
    case MessageAnswer::Cancel:
        return UnzipOverwriteNoFile;
    default:
        return UnzipOverwriteThisFile;
    }
}

int UnzipPassword(QString &password, const QString &prompt, const QString &memberName)
{
    Q_UNUSED(prompt);
    Q_UNUSED(memberName);
    password.clear();
    return UnzipPasswordSkip;
}

void UnzipMessage(quint64 uncompressedSize, quint64 compressedSize, int compressionFactor,
                  int month, int day, int year, int hour, int minute, char flag,
                  const QString &memberName, const QString &methodName, quint32 crc, bool encrypted)
{
    Q_UNUSED(compressedSize);
    Q_UNUSED(compressionFactor);
    Q_UNUSED(flag);
    Q_UNUSED(methodName);
    Q_UNUSED(crc);
    Q_UNUSED(encrypted);

    QString line = blankLine();
    if (UnzipListCount == 0) {
        putAt(line, 1, QStringLiteral("Filename:"));
        putAt(line, 53, QStringLiteral("Size"));
        putAt(line, 62, QStringLiteral("Date"));
        putAt(line, 71, QStringLiteral("Time"));
        UnzipListing = line + CrLf;
        line = blankLine();
    }
    // The size ends at column 57. One too wide for its seven columns reaches into the
    // name's columns rather than losing its leading digits.
    const QString size = QString::number(uncompressedSize).rightJustified(7);
    const int sizeColumn = 58 - int(size.size());
    const int nameWidth = size.size() > 7 ? sizeColumn - 2 : 50;
    const QString name = bufferText(memberName, NameBufferSize);
    putAt(line, 1, name.left(nameWidth));
    putAt(line, sizeColumn, size);
    putAt(line, 60, signedText(day).right(2) + QLatin1Char('/'));
    putAt(line, 63, twoDigits(month) + QLatin1Char('/'));
    putAt(line, 66, twoDigits(year % 100));
    putAt(line, 70, signedText(hour).right(2) + QLatin1Char(':'));
    putAt(line, 73, twoDigits(minute));
    UnzipListing += line + CrLf;
    ++UnzipListCount;
}

int UnzipArchive(const QString &archivePath, const QString &extractDir, int askBeforeOverwrite,
                 int overwrite, int listOnly, int recreateFolders, int includeCount,
                 int excludeCount)
{
    UnzipOptionRecord = UnzipOptions{};
    UnzipOptionRecord.PromptToOverwrite = askBeforeOverwrite;
    UnzipOptionRecord.ListOnly = listOnly;
    UnzipOptionRecord.RecreateFolders = recreateFolders;
    UnzipOptionRecord.OverwriteAll = overwrite;
    UnzipOptionRecord.ArchivePath = archivePath;
    UnzipOptionRecord.ExtractDir = extractDir;

    UnzipCallbackRecord = UnzipCallbacks{};
    UnzipCallbackRecord.Print = UnzipPrint;
    UnzipCallbackRecord.Sound = nullptr;
    UnzipCallbackRecord.Replace = UnzipReplace;
    UnzipCallbackRecord.Password = UnzipPassword;
    UnzipCallbackRecord.Message = UnzipMessage;

    const int status = UnzipExtract(includeCount, IncludeNames.data(), excludeCount,
                                    ExcludeNames.data(), UnzipOptionRecord, UnzipCallbackRecord);
    if (status != UnzipOk)
        ShowMessage(QString::fromUtf8(Version::ProductTitle), QString::number(status));
    return status;
}
