#include "core/launch/ExtractionMarker.h"

#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zanku {
namespace {
// One record a line, each led by its kind, so a damaged line costs only itself:
//   token <token> / state <state> / emulator <name> / game <file>
//   session <pid> <start> / file <size> <modified ms> <path> / restored <path>
//   owner <pid> <start> / name <game name> / run <pid> <start> <by pid> <by start> <started>
// with texts and paths percent-encoded (paths as the file system's bytes).
const QByteArray Title = "Zanku extraction marker 3";
constexpr qint64 LargestMarker = 64 << 20;

const char *const StateWords[] = {"extracting", "ready", "in-use", "keeping"};

QByteArray encoded(const QByteArray &bytes)
{
    return bytes.toPercentEncoding("/");
}
QByteArray encoded(const QString &text)
{
    return encoded(text.toUtf8());
}
QString decodedText(const QByteArray &field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

bool number(const QByteArray &field, qint64 &value)
{
    bool ok = false;
    value = field.toLongLong(&ok);
    return ok && value >= 0;
}

// The process named by the two fields from `at`, when they name one.
std::optional<Session> process(const QList<QByteArray> &fields, qsizetype at)
{
    qint64 pid = 0, start = 0;
    if (!number(fields[at], pid) || !number(fields[at + 1], start) || pid <= 0)
        return std::nullopt;
    return Session{pid, quint64(start)};
}

// The marker of the first version: token, emulator and game on the first three lines,
// then "<size> <modified ms> <path>" for each file; it was written once extracted.
std::optional<ExtractionMarker> parseFirstVersion(const QList<QByteArray> &lines)
{
    if (lines.size() < 3 || lines[0].isEmpty())
        return std::nullopt;
    ExtractionMarker marker;
    marker.token = QString::fromUtf8(lines[0]);
    marker.state = FolderState::Ready;
    marker.emulator = QString::fromUtf8(lines[1]);
    marker.gameFile = QString::fromUtf8(lines[2]);
    for (qsizetype i = 3; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        ExtractionMarker::Stamp stamp;
        if (fields.size() == 3 && number(fields[0], stamp.size) &&
            number(fields[1], stamp.modified))
            marker.extracted.insert(QByteArray::fromPercentEncoding(fields[2]), stamp);
    }
    return marker;
}
} // namespace

QString NewToken()
{
    return QString::number(QRandomGenerator::system()->generate64(), 36) +
           QString::number(QRandomGenerator::system()->generate64(), 36);
}

QByteArray FormatMarker(const ExtractionMarker &marker)
{
    QByteArray text = Title + '\n';
    text += "token " + encoded(marker.token) + '\n';
    text += QByteArray("state ") + StateWords[int(marker.state)] + '\n';
    const auto process = [](const Session &session) {
        return QByteArray::number(session.pid) + ' ' + QByteArray::number(session.startTime);
    };
    if (marker.owner.pid > 0)
        text += "owner " + process(marker.owner) + '\n';
    text += "emulator " + encoded(marker.emulator) + '\n';
    text += "game " + encoded(marker.gameFile) + '\n';
    if (!marker.gameName.isEmpty())
        text += "name " + encoded(marker.gameName) + '\n';
    for (const Session &session : marker.sessions)
        text += "session " + process(session) + '\n';
    for (const ExtractionMarker::Run &run : marker.runs)
        text += "run " + process(run.session) + ' ' + process(run.by) + ' ' +
                QByteArray::number(run.started) + '\n';
    for (auto file = marker.extracted.cbegin(); file != marker.extracted.cend(); ++file)
        text += "file " + QByteArray::number(file.value().size) + ' ' +
                QByteArray::number(file.value().modified) + ' ' + encoded(file.key()) + '\n';
    for (const QByteArray &path : marker.restored)
        text += "restored " + encoded(path) + '\n';
    return text;
}

std::optional<ExtractionMarker> ParseMarker(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return std::nullopt;
    if (lines.first() != Title)
        return parseFirstVersion(lines);
    ExtractionMarker marker;
    bool stated = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        const QByteArray &kind = fields[0];
        if (kind == "token" && fields.size() == 2) {
            marker.token = decodedText(fields[1]);
        } else if (kind == "state" && fields.size() == 2) {
            for (int s = 0; s < 4; ++s) {
                if (fields[1] == StateWords[s]) {
                    marker.state = FolderState(s);
                    stated = true;
                }
            }
        } else if (kind == "emulator" && fields.size() == 2) {
            marker.emulator = decodedText(fields[1]);
        } else if (kind == "game" && fields.size() == 2) {
            marker.gameFile = decodedText(fields[1]);
        } else if (kind == "name" && fields.size() == 2) {
            marker.gameName = decodedText(fields[1]);
        } else if ((kind == "session" || kind == "owner") && fields.size() == 3) {
            const std::optional<Session> read = process(fields, 1);
            if (read && kind == "owner")
                marker.owner = *read;
            else if (read)
                marker.sessions.append(*read);
        } else if (kind == "run" && fields.size() == 6) {
            const std::optional<Session> session = process(fields, 1), by = process(fields, 3);
            qint64 started = 0;
            if (session && by && number(fields[5], started))
                marker.runs.append({*session, *by, started});
        } else if (kind == "file" && fields.size() == 4) {
            ExtractionMarker::Stamp stamp;
            if (number(fields[1], stamp.size) && number(fields[2], stamp.modified))
                marker.extracted.insert(QByteArray::fromPercentEncoding(fields[3]), stamp);
        } else if (kind == "restored" && fields.size() == 2) {
            marker.restored.insert(QByteArray::fromPercentEncoding(fields[1]));
        }
    }
    // Without its token or state nothing proves what the folder is.
    if (marker.token.isEmpty() || !stated)
        return std::nullopt;
    return marker;
}

std::optional<ExtractionMarker> ReadMarker(const QString &folder)
{
    // Not a link (a marker must be the folder's own), not a pipe, not a file of any size.
    const QString path = QDir(folder).filePath(QLatin1String(MarkerName));
    if (QFileInfo(path).isSymLink())
        return std::nullopt;
    const RegularFileRead read = ReadRegularFile(path, LargestMarker);
    return read.ok() ? ParseMarker(read.content) : std::nullopt;
}

bool WriteMarker(const QString &folder, const ExtractionMarker &marker, QString *error)
{
    const TextWriteResult written =
        WriteFileBytes(QDir(folder).filePath(QLatin1String(MarkerName)), FormatMarker(marker));
    if (!written.ok && error != nullptr)
        *error = written.error;
    return written.ok;
}

bool UpdateMarker(const QString &folder, const std::function<bool(ExtractionMarker &)> &change)
{
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::flock(fd, LOCK_EX); // held a moment by whichever Zanku changes it
    std::optional<ExtractionMarker> marker = ReadMarker(folder);
    bool written = false;
    if (marker && change(*marker))
        written = WriteMarker(folder, *marker);
    ::close(fd); // lets the lock go
    return written;
}

} // namespace zanku
