#include "core/library/PlayHistory.h"

#include "core/files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zanku {
namespace {
// Another Zanku holds the lock only while it writes the file.
constexpr int LockWaitMs = 2000;
constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

QString escaped(QString text)
{
    return text.replace(u'\\', QLatin1String("\\\\")).replace(u'\t', QLatin1String("\\t"));
}

QString unescaped(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            ++i;
            plain.append(text[i] == u't' ? QChar(u'\t') : text[i]);
        } else {
            plain.append(text[i]);
        }
    }
    return plain;
}

QString textOf(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    return bytes.contains('\\') ? unescaped(text) : text;
}

// A count written in plain digits, at most `max`.
std::optional<qint64> numberOf(QByteArrayView digits, qint64 max)
{
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value <= max ? std::optional(value) : std::nullopt;
}

// A date as the file has it; invalid when it is none. What this program writes,
// "2026-12-05T10:11:12.345Z", is read without Qt's general parser, which would take
// most of the load of a large history.
QDateTime dateOf(QByteArrayView text)
{
    const auto digits = [&](qsizetype at, qsizetype count) {
        int value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() == 24 && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
        text[13] == ':' && text[16] == ':' && text[19] == '.' && text[23] == 'Z') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2), digits(20, 3));
        if (date.isValid() && time.isValid() && date.year() >= 1)
            return QDateTime(date, time, Qt::UTC);
    }
    const QDateTime parsed = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    // Only a date that is written back as it reads.
    const int year = parsed.toUTC().date().year();
    return year >= 1 && year <= 9999 ? parsed : QDateTime();
}

// The line of `text` that begins at `start`, without its end (CR LF, LF or a lone CR).
bool nextLine(QByteArrayView text, qsizetype &start, QByteArrayView &line)
{
    const qsizetype size = text.size();
    if (start >= size)
        return false;
    const char *const bytes = text.data();
    qsizetype end = start;
    while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    line = text.sliced(start, end - start);
    if (end + 1 < size && bytes[end] == '\r' && bytes[end + 1] == '\n')
        ++end;
    start = end + 1;
    return true;
}

enum class ReadStatus { Read, Missing, Unreadable };

// The whole file, when it is a regular file of at most MaxFileSize bytes. It is opened
// without waiting, so that a named pipe in its place cannot hold up the program.
ReadStatus readHistory(const QString &path, QByteArray &content, QString &error)
{
    content.clear();
    QFile file;
#ifdef Q_OS_UNIX
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT)
            return ReadStatus::Missing;
        error = QString::fromLocal8Bit(strerror(errno));
        return ReadStatus::Unreadable;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        error = QStringLiteral("it is not an ordinary file");
        return ReadStatus::Unreadable;
    }
    if (!file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        error = file.errorString();
        return ReadStatus::Unreadable;
    }
#else
    const QFileInfo info(path);
    if (!info.exists())
        return ReadStatus::Missing;
    file.setFileName(path);
    if (!info.isFile()) {
        error = QStringLiteral("it is not an ordinary file");
        return ReadStatus::Unreadable;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return ReadStatus::Unreadable;
    }
#endif
    const qint64 size = file.size();
    if (size > PlayHistory::MaxFileSize) {
        error = QStringLiteral("it is over 64 MiB");
        return ReadStatus::Unreadable;
    }
    content.resize(qsizetype(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 read = file.read(content.data() + done, size - done);
        if (read < 0) {
            error = file.errorString();
            return ReadStatus::Unreadable;
        }
        if (read == 0)
            break;
        done += read;
    }
    content.truncate(qsizetype(done));
    return ReadStatus::Read;
}
} // namespace

// Looked up by the bytes of the file, so that a name already known costs no copy.
struct PlayHistory::Emulators {
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> names;

    const QString &named(QByteArrayView bytes)
    {
        const std::string_view key(bytes.data(), size_t(bytes.size()));
        if (const auto known = names.find(key); known != names.end())
            return known->second;
        return names.emplace(std::string(key), textOf(bytes)).first->second;
    }
};

qsizetype PlayHistory::Records::placeOf(size_t hash, const QString &emulator, const QString &name,
                                        const QString &file) const
{
    const size_t mask = places.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const uint32_t taken = places[at];
        if (taken == 0)
            return qsizetype(at);
        const Game &game = games[taken - 1];
        if (hashes[taken - 1] == hash && game.name == name && game.file == file &&
            game.emulator == emulator)
            return qsizetype(at);
    }
}

void PlayHistory::Records::rehash(size_t count)
{
    size_t size = 16;
    while (size < count * 2)
        size *= 2;
    places.assign(size, 0);
    for (size_t i = 0; i < games.size(); ++i) {
        size_t at = hashes[i] & (size - 1);
        while (places[at] != 0)
            at = (at + 1) & (size - 1);
        places[at] = uint32_t(i + 1);
    }
}

const PlayHistory::Game *PlayHistory::Records::find(const QString &emulator, const QString &name,
                                                    const QString &file) const
{
    if (games.empty())
        return nullptr;
    const uint32_t taken =
        places[size_t(placeOf(qHashMulti(0, emulator, name, file), emulator, name, file))];
    return taken == 0 ? nullptr : &games[taken - 1];
}

PlayHistory::Game &PlayHistory::Records::entry(const QString &emulator, const QString &name,
                                               const QString &file)
{
    if ((games.size() + 1) * 2 > places.size())
        rehash(std::max<size_t>(games.size() * 2, 8));
    const size_t hash = qHashMulti(0, emulator, name, file);
    const qsizetype at = placeOf(hash, emulator, name, file);
    if (places[size_t(at)] != 0)
        return games[places[size_t(at)] - 1];
    games.push_back({emulator, name, file, 0, 0, {}, false});
    hashes.push_back(hash);
    places[size_t(at)] = uint32_t(games.size());
    return games.back();
}

void PlayHistory::Records::rename(const QString &emulator, const QString &file, const QString &from,
                                  const QString &to)
{
    const Game *renamed = find(emulator, from, file);
    if (renamed == nullptr || find(emulator, to, file) != nullptr)
        return;
    const size_t at = size_t(renamed - games.data());
    games[at].name = to;
    hashes[at] = qHashMulti(0, emulator, to, file);
    rehash(games.size()); // rare: a few names a session
}

void PlayHistory::Records::takeLine(QByteArrayView line, Emulators &emulators)
{
    if (line.isEmpty())
        return;
    QByteArrayView numbers[4];
    qsizetype at = 0;
    bool ok = true;
    for (QByteArrayView &number : numbers) {
        const qsizetype space = line.indexOf(' ', at);
        ok = ok && space >= 0;
        if (ok)
            number = line.sliced(at, space - at), at = space + 1;
    }
    const QByteArrayView texts = ok ? line.sliced(at) : QByteArrayView();
    const qsizetype tab = texts.indexOf('\t');
    const qsizetype tab2 = tab < 0 ? -1 : texts.indexOf('\t', tab + 1);
    const auto launches = numberOf(numbers[0], std::numeric_limits<int>::max());
    const auto seconds = numberOf(numbers[1], std::numeric_limits<qint64>::max());
    const QDateTime date = numbers[2] == "-" ? QDateTime() : dateOf(numbers[2]);
    if (!ok || tab2 < 0 || texts.indexOf('\t', tab2 + 1) >= 0 || !launches || !seconds ||
        (!date.isValid() && numbers[2] != "-") || (numbers[3] != "0" && numbers[3] != "1") ||
        !line.isValidUtf8()) {
        unread.push_back(line.toByteArray());
        return;
    }
    const QString &emulator = emulators.named(texts.first(tab));
    Game &game = entry(emulator, textOf(texts.sliced(tab + 1, tab2 - tab - 1)),
                       textOf(texts.sliced(tab2 + 1)));
    game.launches = int(*launches);
    game.seconds = *seconds;
    game.lastPlayed = date;
    game.favourite = numbers[3] == "1";
}

PlayHistory PlayHistory::parse(QByteArrayView content)
{
    PlayHistory history;
    Records &records = history.records_;
    if (content.startsWith(Utf8Bom))
        content = content.sliced(3);
    // Room for every line at once: a large history is not held twice while it grows.
    const qsizetype lines = std::count(content.begin(), content.end(), '\n') + 1;
    records.games.reserve(size_t(lines));
    records.hashes.reserve(size_t(lines));
    records.rehash(size_t(lines));
    Emulators emulators;
    QByteArrayView line;
    for (qsizetype at = 0; nextLine(content, at, line);)
        records.takeLine(line, emulators);
    return history;
}

QByteArray PlayHistory::format() const
{
    QByteArray content;
    for (const Game &game : records_.games) {
        content += QByteArray::number(game.launches) + ' ' + QByteArray::number(game.seconds) +
                   ' ' +
                   (game.lastPlayed.isValid()
                        ? game.lastPlayed.toUTC().toString(Qt::ISODateWithMs).toLatin1()
                        : QByteArray("-")) +
                   (game.favourite ? " 1 " : " 0 ") + escaped(game.emulator).toUtf8() + '\t' +
                   escaped(game.name).toUtf8() + '\t' + escaped(game.file).toUtf8() + "\r\n";
    }
    for (const QByteArray &line : records_.unread)
        content += line + "\r\n";
    // An unread line that begins like a byte order mark stays whole when read again.
    if (content.startsWith(Utf8Bom))
        content.prepend(Utf8Bom);
    return content;
}

void PlayHistory::load(const QString &programDir)
{
    path_ = QDir(programDir).filePath(QLatin1String(FileName));
    readError_.clear();
    changes_.clear();
    changeIndex_.clear();
    renames_.clear();
    QByteArray content;
    QString error;
    switch (readHistory(path_, content, error)) {
    case ReadStatus::Read:
        records_ = std::move(parse(content).records_);
        break;
    case ReadStatus::Unreadable:
        readError_ = error;
        [[fallthrough]];
    case ReadStatus::Missing:
        records_ = {};
        break;
    }
}

void PlayHistory::apply(Records &records) const
{
    for (const Rename &rename : renames_)
        records.rename(rename.emulator, rename.file, rename.from, rename.to);
    for (const Change &change : changes_) {
        Game &game = records.entry(change.emulator, change.name, change.file);
        game.launches = int(std::min<qint64>(qint64(game.launches) + change.launches,
                                             std::numeric_limits<int>::max()));
        game.seconds += change.seconds;
        if (change.lastPlayed.isValid() &&
            (!game.lastPlayed.isValid() || change.lastPlayed > game.lastPlayed))
            game.lastPlayed = change.lastPlayed;
        if (change.favourite)
            game.favourite = *change.favourite;
    }
}

bool PlayHistory::save(QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error != nullptr)
            *error = SaveErrorText(path_, reason);
        return false;
    };
    if (readOnly())
        return fail(readError_);
    if (path_.isEmpty())
        return fail(QStringLiteral("no program directory was read"));
    // QLockFile would wait forever on a named pipe in the lock's place.
    const QString lockPath = path_ + QStringLiteral(".lock");
    const QFileInfo lockInfo(lockPath);
    if ((lockInfo.exists() || lockInfo.isSymLink()) && !lockInfo.isFile())
        return fail(QStringLiteral("its lock file %1 is not an ordinary file")
                        .arg(QDir::toNativeSeparators(lockPath)));
    QLockFile lock(lockPath);
    if (!lock.tryLock(LockWaitMs))
        return fail(lock.error() == QLockFile::LockFailedError
                        ? QStringLiteral("another Zanku is saving it")
                        : QStringLiteral("its lock file cannot be made"));
    // What another Zanku saved since is kept: this program's changes go on top of it.
    QByteArray content;
    QString reason;
    const ReadStatus read = readHistory(path_, content, reason);
    if (read == ReadStatus::Unreadable)
        return fail(reason);
    PlayHistory merged = read == ReadStatus::Read ? parse(content) : PlayHistory();
    apply(merged.records_);
    QSaveFile file(path_);
    const QByteArray written = merged.format();
    if (!file.open(QIODevice::WriteOnly) || file.write(written) != written.size() || !file.commit())
        return fail(file.errorString());
    records_ = std::move(merged.records_);
    changes_.clear();
    changeIndex_.clear();
    renames_.clear();
    return true;
}

PlayHistory::Change &PlayHistory::change(const QString &emulator, const QString &name,
                                         const QString &file)
{
    const QString key = emulator + QChar(0) + name + QChar(0) + file;
    if (const auto found = changeIndex_.constFind(key); found != changeIndex_.cend())
        return changes_[found.value()];
    changeIndex_.insert(key, changes_.size());
    changes_.push_back({emulator, name, file, 0, 0, {}, std::nullopt});
    return changes_.back();
}

const PlayHistory::Game *PlayHistory::find(const QString &emulator, const QString &name,
                                           const QString &file) const
{
    return records_.find(emulator, name, file);
}

void PlayHistory::launched(const QString &emulator, const QString &name, const QString &file,
                           const QDateTime &when)
{
    Game &game = records_.entry(emulator, name, file);
    ++game.launches;
    game.lastPlayed = when;
    if (readOnly())
        return;
    Change &change = this->change(emulator, name, file);
    ++change.launches;
    change.lastPlayed = when;
}

void PlayHistory::played(const QString &emulator, const QString &name, const QString &file,
                         qint64 seconds)
{
    records_.entry(emulator, name, file).seconds += seconds;
    if (!readOnly())
        change(emulator, name, file).seconds += seconds;
}

void PlayHistory::setFavourite(const QString &emulator, const QString &name, const QString &file,
                               bool on)
{
    records_.entry(emulator, name, file).favourite = on;
    if (!readOnly())
        change(emulator, name, file).favourite = on;
}

void PlayHistory::rename(const QString &emulator, const QString &file, const QString &from,
                         const QString &to)
{
    if (records_.find(emulator, from, file) == nullptr ||
        records_.find(emulator, to, file) != nullptr)
        return;
    records_.rename(emulator, file, from, to);
    if (readOnly())
        return;
    renames_.push_back({emulator, file, from, to});
    changeIndex_.clear();
    for (size_t i = 0; i < changes_.size(); ++i) {
        Change &change = changes_[i];
        if (change.name == from && change.file == file && change.emulator == emulator)
            change.name = to;
        changeIndex_.insert(change.emulator + QChar(0) + change.name + QChar(0) + change.file, i);
    }
}

std::vector<const PlayHistory::Game *> PlayHistory::recent(int count) const
{
    std::vector<const Game *> played;
    for (const Game &game : records_.games) {
        if (game.lastPlayed.isValid())
            played.push_back(&game);
    }
    std::stable_sort(played.begin(), played.end(),
                     [](const Game *a, const Game *b) { return a->lastPlayed > b->lastPlayed; });
    if (played.size() > size_t(count))
        played.resize(size_t(count));
    return played;
}

QString PlayHistory::describe(const Game *game)
{
    if (game == nullptr || game->launches == 0)
        return QStringLiteral("Never played");
    const qint64 minutes = game->seconds / 60;
    const QString time = minutes >= 60
                             ? QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60)
                             : QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("Played %1 %2, %3 in all, last on %4")
        .arg(game->launches)
        .arg(game->launches == 1 ? QStringLiteral("time") : QStringLiteral("times"), time,
             QLocale(QLocale::English)
                 .toString(game->lastPlayed.toLocalTime().date(), QStringLiteral("d MMM yyyy")));
}

} // namespace zanku
