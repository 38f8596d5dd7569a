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

// A line's four numbers and its texts; false when it has fewer than four spaces.
struct Fields {
    QByteArrayView launches, seconds, date, favourite, texts;
};

// The first space from `at`, or `end`: eight bytes at a time, as the numbers are short
// and memchr's set-up would cost more.
const char *firstSpace(const char *at, const char *end)
{
    constexpr uint64_t Ones = 0x0101010101010101ULL, Highs = 0x8080808080808080ULL;
    for (; end - at >= 8; at += 8) {
        uint64_t word;
        std::memcpy(&word, at, 8);
        word ^= Ones * ' ';
        // The lowest byte flagged is the first that was a space.
        if (const uint64_t spaces = (word - Ones) & ~word & Highs)
            return at + (qCountTrailingZeroBits(spaces) / 8);
    }
    while (at != end && *at != ' ')
        ++at;
    return at;
}

bool split(QByteArrayView line, Fields &fields)
{
    QByteArrayView *const numbers[] = {&fields.launches, &fields.seconds, &fields.date,
                                       &fields.favourite};
    const char *at = line.data();
    const char *const end = at + line.size();
    for (QByteArrayView *number : numbers) {
        const char *const space = firstSpace(at, end);
        if (space == end)
            return false;
        *number = QByteArrayView(at, space - at);
        at = space + 1;
    }
    fields.texts = QByteArrayView(at, end - at);
    return true;
}

// What the file writes for "2026-12-05T10:11:12.345Z": year, month, day, hour, minute,
// second, millisecond, read without building a date. False for any other form.
bool plainDate(QByteArrayView text, int (&value)[7])
{
    if (text.size() != 24)
        return false;
    const auto *c = reinterpret_cast<const unsigned char *>(text.data());
    if (c[4] != '-' || c[7] != '-' || c[10] != 'T' || c[13] != ':' || c[16] != ':' ||
        c[19] != '.' || c[23] != 'Z')
        return false;
    // Any byte that is not a digit leaves a value of 10 or more.
    unsigned notDigit = 0;
    const auto digit = [&](int at) {
        const unsigned value = unsigned(c[at]) - '0';
        notDigit |= value > 9;
        return int(value);
    };
    value[0] = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
    value[1] = digit(5) * 10 + digit(6);
    value[2] = digit(8) * 10 + digit(9);
    value[3] = digit(11) * 10 + digit(12);
    value[4] = digit(14) * 10 + digit(15);
    value[5] = digit(17) * 10 + digit(18);
    value[6] = digit(20) * 100 + digit(21) * 10 + digit(22);
    const int year = value[0], month = value[1];
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return notDigit == 0 && year >= 1 && month >= 1 && month <= 12 && value[2] >= 1 &&
           value[2] <= days[month - 1] + (month == 2 && leap) && value[3] < 24 && value[4] < 60 &&
           value[5] < 60;
}

// When a game was last played, in milliseconds since 1970; none for "-".
std::optional<qint64> instantOf(QByteArrayView text)
{
    if (text == "-")
        return std::nullopt;
    int value[7];
    if (!plainDate(text, value))
        return dateOf(text).toMSecsSinceEpoch();
    // Days since 1970 of a Gregorian date, counted in 400-year eras from March 1st.
    const qint64 year = value[0] - (value[1] <= 2), month = value[1], day = value[2];
    const qint64 era = year / 400, ofEra = year - era * 400;
    const qint64 ofYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 days = era * 146097 + ofEra * 365 + ofEra / 4 - ofEra / 100 + ofYear - 719468;
    return ((days * 24 + value[3]) * 60 + value[4]) * 60000 + value[5] * 1000 + value[6];
}

// Whether the line is one of the history; `starts` then has where its three texts begin.
bool readable(const Fields &fields, bool checkUtf8, QByteArrayView line, const char *(&starts)[3])
{
    int date[7];
    if (!numberOf(fields.launches, std::numeric_limits<int>::max()) ||
        !numberOf(fields.seconds, std::numeric_limits<qint64>::max()) ||
        fields.favourite.size() != 1 ||
        (fields.favourite[0] != '0' && fields.favourite[0] != '1') ||
        (!(fields.date.size() == 1 && fields.date[0] == '-') && !plainDate(fields.date, date) &&
         !dateOf(fields.date).isValid()))
        return false;
    // Exactly two tabs.
    const char *at = fields.texts.data(), *const end = at + fields.texts.size();
    starts[0] = at;
    for (int tab = 0; tab < 2; ++tab) {
        at = static_cast<const char *>(std::memchr(at, '\t', size_t(end - at)));
        if (at == nullptr)
            return false;
        starts[tab + 1] = ++at;
    }
    return std::memchr(at, '\t', size_t(end - at)) == nullptr && (!checkUtf8 || line.isValidUtf8());
}

void appendEscaped(QByteArray &key, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (!utf8.contains('\\') && !utf8.contains('\t')) {
        key += utf8;
        return;
    }
    for (const char c : utf8)
        key += c == '\\'   ? QByteArrayView("\\\\")
               : c == '\t' ? QByteArrayView("\\t")
                           : QByteArrayView(&c, 1);
}

// A game's key: its three texts as this program writes them, so that a line is looked up
// by its own bytes.
QByteArray keyOf(const QString &emulator, const QString &name, const QString &file)
{
    QByteArray key;
    key.reserve(emulator.size() + name.size() + file.size() + 2);
    appendEscaped(key, emulator);
    key += '\t';
    appendEscaped(key, name);
    key += '\t';
    appendEscaped(key, file);
    return key;
}

// Eight bytes at a time: most of a load is spent here and on the table.
uint32_t hashOf(QByteArrayView key)
{
    const char *at = key.data();
    const auto size = size_t(key.size());
    uint64_t hash = 0x9e3779b97f4a7c15ULL ^ size;
    uint64_t word = 0;
    for (size_t left = size; left >= 8; left -= 8, at += 8) {
        std::memcpy(&word, at, 8);
        hash = (hash ^ word) * 0xff51afd7ed558ccdULL;
        hash ^= hash >> 29;
    }
    word = 0;
    if (size >= 8) // the last eight bytes, some of them hashed already
        std::memcpy(&word, key.data() + size - 8, 8);
    else
        for (size_t i = 0; i < size; ++i)
            word |= uint64_t(uint8_t(at[i])) << (8 * i);
    hash = (hash ^ word) * 0xc4ceb9fe1a85ec53ULL;
    hash ^= hash >> 32;
    hash *= 0xff51afd7ed558ccdULL;
    return uint32_t(hash >> 32);
}

// The three texts of a line.
void textsOf(QByteArrayView texts, QString &emulator, QString &name, QString &file)
{
    const qsizetype tab = texts.indexOf('\t'), tab2 = texts.indexOf('\t', tab + 1);
    emulator = textOf(texts.first(tab));
    name = textOf(texts.sliced(tab + 1, tab2 - tab - 1));
    file = textOf(texts.sliced(tab2 + 1));
}

// Whether the texts are escaped as keyOf() escapes them.
bool plainlyEscaped(QByteArrayView texts)
{
    for (qsizetype at = texts.indexOf('\\'); at >= 0; at = texts.indexOf('\\', at + 2)) {
        if (at + 1 >= texts.size() || (texts[at + 1] != '\\' && texts[at + 1] != 't'))
            return false;
    }
    return true;
}

QByteArray lineOf(const PlayHistory::Game &game, QByteArrayView texts)
{
    QByteArray line =
        QByteArray::number(game.launches) + ' ' + QByteArray::number(game.seconds) + ' ' +
        (game.lastPlayed.isValid() ? game.lastPlayed.toUTC().toString(Qt::ISODateWithMs).toLatin1()
                                   : QByteArray("-")) +
        (game.favourite ? " 1 " : " 0 ");
    return line.append(texts);
}

// How many bytes end the line that ends at `end`.
qsizetype endOfLine(QByteArrayView bytes, qsizetype end)
{
    if (end >= bytes.size())
        return 0;
    return bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
}
} // namespace

void PlayHistory::Index::build(QByteArray content)
{
    bytes = std::move(content);
    games.clear();
    unread.clear();
    superseded.clear();
    oddKeys.clear();
    const char *const data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype at = bytes.startsWith(Utf8Bom) ? 3 : 0;
    // Room for every line at once, as the first lines foretell: a large history is not held
    // twice while it grows.
    const qsizetype sample = std::min<qsizetype>(size - at, 256 * 1024);
    const size_t lines = size_t(double(std::count(data + at, data + at + sample, '\n')) * 1.05 *
                                double(size - at) / double(std::max<qsizetype>(sample, 1))) +
                         16;
    games.reserve(lines);
    size_t room = 16;
    while (room < lines * 2)
        room *= 2;
    places.assign(room, 0);
    // Most files are UTF-8 throughout, and then so is each line.
    const bool checkUtf8 = !QByteArrayView(bytes).isValidUtf8();
    // A game's place in the table is looked up a few lines after its line is read, so that
    // fetching it from memory overlaps reading the next lines.
    constexpr size_t Ahead = 8;
    Taken ahead[Ahead], read;
    size_t taken = 0;
    const char *newline = nullptr;
    while (at < size) {
        if (newline == nullptr || newline < data + at) {
            newline = static_cast<const char *>(std::memchr(data + at, '\n', size_t(size - at)));
            if (newline == nullptr)
                newline = data + size;
        }
        const auto *cr =
            static_cast<const char *>(std::memchr(data + at, '\r', size_t(newline - data - at)));
        const qsizetype end = (cr != nullptr ? cr : newline) - data;
        if (take({uint32_t(at), uint32_t(end - at)}, checkUtf8, read)) {
            __builtin_prefetch(&places[read.hash & (places.size() - 1)]);
            Taken &slot = ahead[taken++ % Ahead];
            if (taken > Ahead)
                add(slot);
            std::swap(slot, read);
        }
        at = end + std::max<qsizetype>(endOfLine(bytes, end), 1);
    }
    for (size_t i = taken > Ahead ? taken - Ahead : 0; i < taken; ++i)
        add(ahead[i % Ahead]);
}

QByteArrayView PlayHistory::Index::keyOf(uint32_t game) const
{
    if (!oddKeys.isEmpty()) {
        if (const auto odd = oddKeys.constFind(game); odd != oddKeys.cend())
            return *odd;
    }
    return keyOfLine(games[game]);
}

QByteArrayView PlayHistory::Index::keyOfLine(Line line) const
{
    Fields fields;
    split(this->line(line), fields);
    return fields.texts;
}

qsizetype PlayHistory::Index::lookup(QByteArrayView key, uint32_t hash) const
{
    if (places.empty())
        return -1;
    const size_t mask = places.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const uint64_t taken = places[at];
        if (taken == 0)
            return -1;
        const auto game = uint32_t(taken) - 1;
        if (uint32_t(taken >> 32) == hash && keyOf(game) == key)
            return game;
    }
}

void PlayHistory::Index::grow()
{
    std::vector<uint64_t> old(places.size() * 2, 0);
    old.swap(places);
    const size_t mask = places.size() - 1;
    for (const uint64_t taken : old) {
        if (taken == 0)
            continue;
        size_t at = (taken >> 32) & mask;
        while (places[at] != 0)
            at = (at + 1) & mask;
        places[at] = taken;
    }
}

bool PlayHistory::Index::take(Line line, bool checkUtf8, Taken &taken)
{
    if (line.size == 0)
        return false;
    Fields fields;
    const QByteArrayView text = this->line(line);
    const char *starts[3];
    if (!split(text, fields) || !readable(fields, checkUtf8, text, starts)) {
        unread.push_back(line);
        return false;
    }
    taken.line = line;
    taken.odd.clear();
    // A text read from the file is not always the bytes it is written again as: an escape
    // this program would not write, or a byte order mark, which decoding drops.
    const char *const end = fields.texts.data() + fields.texts.size();
    const bool marked = std::any_of(std::begin(starts), std::end(starts), [&](const char *start) {
        return QByteArrayView(start, end - start).startsWith(Utf8Bom);
    });
    if (marked || (std::memchr(fields.texts.data(), '\\', size_t(fields.texts.size())) != nullptr &&
                   !plainlyEscaped(fields.texts))) {
        QString emulator, name, file;
        textsOf(fields.texts, emulator, name, file);
        taken.odd = zanku::keyOf(emulator, name, file);
    }
    taken.hash = hashOf(taken.odd.isNull() ? fields.texts : QByteArrayView(taken.odd));
    return true;
}

void PlayHistory::Index::add(Taken &taken)
{
    const auto sameKey = [&](uint32_t game) {
        return keyOf(game) ==
               (taken.odd.isNull() ? keyOfLine(taken.line) : QByteArrayView(taken.odd));
    };
    const size_t mask = places.size() - 1;
    size_t at = taken.hash & mask;
    for (; places[at] != 0; at = (at + 1) & mask) {
        const auto game = uint32_t(places[at]) - 1;
        if (uint32_t(places[at] >> 32) == taken.hash && sameKey(game)) {
            // Read again further down: the later line is the game's.
            superseded.emplace_back(game, games[game]);
            games[game] = taken.line;
            if (taken.odd.isNull())
                oddKeys.remove(game);
            else
                oddKeys.insert(game, std::move(taken.odd));
            return;
        }
    }
    const auto game = uint32_t(games.size());
    games.push_back(taken.line);
    if (!taken.odd.isNull())
        oddKeys.insert(game, std::move(taken.odd));
    places[at] = uint64_t(taken.hash) << 32 | (game + 1);
    if (games.size() * 2 > places.size())
        grow();
}

qsizetype PlayHistory::Renamed::locate(const Index &index, const QByteArray &key) const
{
    if (!byKey.isEmpty()) {
        if (const auto renamed = byKey.constFind(key); renamed != byKey.cend())
            return renamed->game;
    }
    const qsizetype game = index.lookup(key, hashOf(key));
    return game >= 0 && keyOf.contains(game) ? -1 : game;
}

PlayHistory::Renamed PlayHistory::resolve(const Index &index) const
{
    Renamed renamed;
    for (const Rename &rename : renames_) {
        const QByteArray from = zanku::keyOf(rename.emulator, rename.from, rename.file);
        const QByteArray to = zanku::keyOf(rename.emulator, rename.to, rename.file);
        const qsizetype game = renamed.locate(index, from);
        if (game < 0 || renamed.locate(index, to) >= 0)
            continue;
        renamed.byKey.remove(from);
        renamed.byKey.insert(to, {game, rename.emulator, rename.to, rename.file});
        renamed.keyOf.insert(game, to);
    }
    return renamed;
}

namespace {
// A game as its line has it.
void readStats(QByteArrayView line, PlayHistory::Game &game)
{
    Fields fields;
    split(line, fields);
    game.launches = int(*numberOf(fields.launches, std::numeric_limits<int>::max()));
    game.seconds = *numberOf(fields.seconds, std::numeric_limits<qint64>::max());
    game.lastPlayed = fields.date == "-" ? QDateTime() : dateOf(fields.date);
    game.favourite = fields.favourite == "1";
}
} // namespace

const PlayHistory::Change *PlayHistory::changeOf(const QByteArray &key) const
{
    const auto found = changeIndex_.constFind(key);
    return found == changeIndex_.cend() ? nullptr : &changes_[found.value()];
}

namespace {
// Shown here, a launch's date is the last one's; merged into the file, the later of the
// two is kept.
void applyChange(PlayHistory::Game &game, int launches, qint64 seconds, const QDateTime &lastPlayed,
                 std::optional<bool> favourite, bool merging)
{
    game.launches =
        int(std::min<qint64>(qint64(game.launches) + launches, std::numeric_limits<int>::max()));
    game.seconds += seconds;
    if (lastPlayed.isValid() &&
        (!merging || !game.lastPlayed.isValid() || lastPlayed > game.lastPlayed))
        game.lastPlayed = lastPlayed;
    if (favourite)
        game.favourite = *favourite;
}
} // namespace

PlayHistory::Game PlayHistory::gameAt(qsizetype game, const Change *change) const
{
    Game made;
    if (game >= 0) {
        readStats(index_.line(index_.games[size_t(game)]), made);
        if (const auto renamed = renamed_.keyOf.constFind(game); renamed != renamed_.keyOf.cend()) {
            const Renamed::To to = renamed_.byKey.value(*renamed);
            made.emulator = to.emulator, made.name = to.name, made.file = to.file;
        } else {
            Fields fields;
            split(index_.line(index_.games[size_t(game)]), fields);
            textsOf(fields.texts, made.emulator, made.name, made.file);
        }
    } else {
        made.emulator = change->emulator, made.name = change->name, made.file = change->file;
    }
    if (change != nullptr)
        applyChange(made, change->launches, change->seconds, change->lastPlayed, change->favourite,
                    false);
    return made;
}

PlayHistory PlayHistory::parse(QByteArrayView content)
{
    PlayHistory history;
    history.index_.build(content.toByteArray());
    return history;
}

struct PlayHistory::Index::Merge {
    bool inPlace = false;
    std::vector<std::pair<uint32_t, uint32_t>> resized; // a game's line and its new size
    std::vector<std::pair<Line, uint32_t>> added;       // a new game's line and key's hash
};

void PlayHistory::Index::follow(QByteArray merged, const Merge &merge)
{
    bytes = std::move(merged);
    // The games' lines are in the file's order: each moves by what the lines before grew.
    qint64 moved = 0;
    auto resized = merge.resized.begin();
    for (size_t game = 0; game < games.size(); ++game) {
        games[game].at = uint32_t(games[game].at + moved);
        if (resized != merge.resized.end() && resized->first == game) {
            moved += qint64(resized->second) - games[game].size;
            games[game].size = resized->second;
            ++resized;
        }
    }
    for (const auto &[line, hash] : merge.added) {
        Taken taken{line, hash, {}};
        add(taken);
    }
}

QByteArray PlayHistory::merged(const Index &index, Index::Merge *merge) const
{
    const Renamed renamed = resolve(index);
    // What each game of the file that changes becomes: its line, written where the game
    // first appears; its other lines go.
    std::unordered_map<qsizetype, QByteArray> rewritten;
    std::vector<const Change *> added;
    const auto rewrite = [&](qsizetype game, const Change *change) {
        const QByteArrayView line = index.line(index.games[size_t(game)]);
        const auto renamedTo = renamed.keyOf.constFind(game);
        if (change == nullptr && renamedTo == renamed.keyOf.cend()) {
            rewritten.emplace(game, line.toByteArray());
            return;
        }
        Game merged;
        readStats(line, merged);
        if (change != nullptr)
            applyChange(merged, change->launches, change->seconds, change->lastPlayed,
                        change->favourite, true);
        Fields fields;
        split(line, fields);
        rewritten[game] = lineOf(
            merged, renamedTo == renamed.keyOf.cend() ? fields.texts : QByteArrayView(*renamedTo));
    };
    for (const Change &change : changes_) {
        const QByteArray key = zanku::keyOf(change.emulator, change.name, change.file);
        const qsizetype game = renamed.locate(index, key);
        if (game < 0)
            added.push_back(&change);
        else
            rewrite(game, &change);
    }
    for (auto game = renamed.keyOf.cbegin(); game != renamed.keyOf.cend(); ++game) {
        if (!rewritten.count(game.key()))
            rewrite(game.key(), nullptr);
    }
    struct Edit {
        Index::Line line;
        QByteArray text; // null: the line goes
        bool operator<(const Edit &other) const { return line.at < other.line.at; }
    };
    std::vector<Edit> edits;
    std::unordered_map<qsizetype, Index::Line> first;
    for (const auto &[game, line] : index.superseded) {
        if (!rewritten.count(game))
            rewrite(game, nullptr);
        Index::Line &earliest = first.try_emplace(game, line).first->second;
        if (line.at < earliest.at)
            earliest = line;
    }
    for (const auto &[game, line] : index.superseded)
        edits.push_back({line, {}});
    // The lines that cannot be read go after the games, as they are.
    for (const Index::Line line : index.unread)
        edits.push_back({line, {}});
    if (merge != nullptr) {
        merge->resized.clear();
        for (const auto &[game, text] : rewritten)
            merge->resized.emplace_back(uint32_t(game), uint32_t(text.size()));
        std::sort(merge->resized.begin(), merge->resized.end());
    }
    for (auto &[game, text] : rewritten) {
        const Index::Line own = index.games[size_t(game)];
        const auto earliest = first.find(game);
        if (earliest == first.end()) {
            edits.push_back({own, std::move(text)});
            continue;
        }
        edits.push_back({own, {}});
        for (Edit &edit : edits) {
            if (edit.line.at == earliest->second.at)
                edit.text = std::move(text);
        }
    }
    std::sort(edits.begin(), edits.end());

    const QByteArrayView bytes(index.bytes);
    QByteArray content;
    content.reserve(bytes.size() + qsizetype(added.size()) * 100);
    qsizetype from = 0;
    for (const Edit &edit : edits) {
        content.append(bytes.sliced(from, edit.line.at - from));
        from = edit.line.at + edit.line.size;
        if (edit.text.isNull())
            from += endOfLine(bytes, from);
        else
            content.append(edit.text);
    }
    content.append(bytes.sliced(from));
    const bool more = !added.empty() || !index.unread.empty();
    if (more && !content.isEmpty() && !content.endsWith('\n') && !content.endsWith('\r'))
        content += "\r\n";
    if (merge != nullptr) {
        // Only lines rewritten in place: the index follows them without reading them again.
        merge->inPlace =
            index.superseded.empty() && index.unread.empty() && renamed.keyOf.isEmpty();
        merge->added.clear();
    }
    for (const Change *change : added) {
        Game game;
        applyChange(game, change->launches, change->seconds, change->lastPlayed, change->favourite,
                    true);
        const QByteArray key = zanku::keyOf(change->emulator, change->name, change->file);
        const QByteArray line = lineOf(game, key);
        if (merge != nullptr)
            merge->added.push_back(
                {{uint32_t(content.size()), uint32_t(line.size())}, hashOf(key)});
        content += line + "\r\n";
    }
    for (const Index::Line line : index.unread)
        content.append(bytes.sliced(line.at, line.size)).append("\r\n");
    // An unread line that begins like a byte order mark stays whole when read again.
    if (content.startsWith(Utf8Bom) && !bytes.startsWith(Utf8Bom))
        content.prepend(Utf8Bom);
    return content;
}

QByteArray PlayHistory::format() const
{
    return merged(index_);
}

void PlayHistory::load(const QString &programDir)
{
    path_ = QDir(programDir).filePath(QLatin1String(FileName));
    readError_.clear();
    changes_.clear();
    changeIndex_.clear();
    renames_.clear();
    renamed_ = {};
    QByteArray content;
    QString error;
    if (readHistory(path_, content, error) == ReadStatus::Unreadable) {
        readError_ = error;
        content.clear();
    }
    index_.build(std::move(content));
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
    if (readHistory(path_, content, reason) == ReadStatus::Unreadable)
        return fail(reason);
    // Most often the file is as this program last read or wrote it, and its index is at hand.
    const bool unchanged = content == index_.bytes;
    Index now;
    if (!unchanged)
        now.build(std::move(content));
    Index &base = unchanged ? index_ : now;
    Index::Merge merge;
    QByteArray written = merged(base, &merge);
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(written) != written.size() || !file.commit())
        return fail(file.errorString());
    if (merge.inPlace)
        base.follow(std::move(written), merge);
    else
        base.build(std::move(written));
    if (!unchanged)
        index_ = std::move(now);
    renamed_ = {};
    changes_.clear();
    changeIndex_.clear();
    renames_.clear();
    return true;
}

PlayHistory::Change &PlayHistory::change(const QString &emulator, const QString &name,
                                         const QString &file)
{
    const QByteArray key = zanku::keyOf(emulator, name, file);
    if (const auto found = changeIndex_.constFind(key); found != changeIndex_.cend())
        return changes_[found.value()];
    changeIndex_.insert(key, changes_.size());
    changes_.push_back({emulator, name, file, 0, 0, {}, std::nullopt});
    return changes_.back();
}

std::optional<PlayHistory::Game> PlayHistory::find(const QString &emulator, const QString &name,
                                                   const QString &file) const
{
    const QByteArray key = zanku::keyOf(emulator, name, file);
    const Change *change = changeOf(key);
    const qsizetype game = renamed_.locate(index_, key);
    if (game < 0 && change == nullptr)
        return std::nullopt;
    Game found;
    found.emulator = emulator, found.name = name, found.file = file;
    if (game >= 0)
        readStats(index_.line(index_.games[size_t(game)]), found);
    if (change != nullptr)
        applyChange(found, change->launches, change->seconds, change->lastPlayed, change->favourite,
                    false);
    return found;
}

void PlayHistory::launched(const QString &emulator, const QString &name, const QString &file,
                           const QDateTime &when)
{
    Change &change = this->change(emulator, name, file);
    ++change.launches;
    change.lastPlayed = when;
}

void PlayHistory::played(const QString &emulator, const QString &name, const QString &file,
                         qint64 seconds)
{
    change(emulator, name, file).seconds += seconds;
}

void PlayHistory::setFavourite(const QString &emulator, const QString &name, const QString &file,
                               bool on)
{
    change(emulator, name, file).favourite = on;
}

void PlayHistory::rename(const QString &emulator, const QString &file, const QString &from,
                         const QString &to)
{
    if (!find(emulator, from, file) || find(emulator, to, file))
        return;
    renames_.push_back({emulator, file, from, to});
    const QByteArray key = zanku::keyOf(emulator, from, file);
    if (const auto found = changeIndex_.constFind(key); found != changeIndex_.cend()) {
        const size_t at = found.value();
        changeIndex_.erase(found);
        changes_[at].name = to;
        changeIndex_.insert(zanku::keyOf(emulator, to, file), at);
    }
    renamed_ = resolve(index_);
}

qsizetype PlayHistory::count() const
{
    qsizetype total = qsizetype(index_.games.size());
    for (const Change &change : changes_)
        total +=
            renamed_.locate(index_, zanku::keyOf(change.emulator, change.name, change.file)) < 0;
    return total;
}

std::vector<PlayHistory::Game> PlayHistory::games() const
{
    std::unordered_map<qsizetype, const Change *> placed;
    std::vector<const Change *> added;
    for (const Change &change : changes_) {
        const qsizetype game =
            renamed_.locate(index_, zanku::keyOf(change.emulator, change.name, change.file));
        if (game < 0)
            added.push_back(&change);
        else
            placed.emplace(game, &change);
    }
    std::vector<Game> games;
    games.reserve(index_.games.size() + added.size());
    for (size_t game = 0; game < index_.games.size(); ++game) {
        const auto change = placed.find(qsizetype(game));
        games.push_back(gameAt(qsizetype(game), change == placed.end() ? nullptr : change->second));
    }
    for (const Change *change : added)
        games.push_back(gameAt(-1, change));
    return games;
}

std::vector<QByteArray> PlayHistory::unreadLines() const
{
    std::vector<QByteArray> lines;
    for (const Index::Line line : index_.unread)
        lines.push_back(index_.line(line).toByteArray());
    return lines;
}

std::vector<PlayHistory::Game> PlayHistory::recent(int count) const
{
    std::unordered_map<qsizetype, const Change *> placed;
    std::vector<const Change *> added;
    for (const Change &change : changes_) {
        const qsizetype game =
            renamed_.locate(index_, zanku::keyOf(change.emulator, change.name, change.file));
        if (game < 0)
            added.push_back(&change);
        else
            placed.emplace(game, &change);
    }
    struct Played {
        qint64 when;
        qsizetype order; // the games' own order among those played at once
        const Change *change;
    };
    const auto newer = [](const Played &a, const Played &b) {
        return a.when != b.when ? a.when > b.when : a.order < b.order;
    };
    const auto wanted = size_t(std::max(count, 0));
    const auto baseCount = qsizetype(index_.games.size());
    // A few asked of many: only they are kept, in a heap whose top is the oldest of them.
    const bool few = wanted < size_t(baseCount) / 8;
    std::vector<Played> played;
    const auto take = [&](const Played &game) {
        if (!few) {
            played.push_back(game);
        } else if (played.size() < wanted) {
            played.push_back(game);
            std::push_heap(played.begin(), played.end(), newer);
        } else if (wanted > 0 && newer(game, played.front())) {
            std::pop_heap(played.begin(), played.end(), newer);
            played.back() = game;
            std::push_heap(played.begin(), played.end(), newer);
        }
    };
    for (qsizetype game = 0; game < baseCount; ++game) {
        const auto change = placed.empty() ? placed.end() : placed.find(game);
        const Change *changed = change == placed.end() ? nullptr : change->second;
        if (changed != nullptr && changed->lastPlayed.isValid()) {
            take({changed->lastPlayed.toMSecsSinceEpoch(), game, changed});
            continue;
        }
        Fields fields;
        split(index_.line(index_.games[size_t(game)]), fields);
        if (const auto when = instantOf(fields.date))
            take({*when, game, changed});
    }
    for (size_t i = 0; i < added.size(); ++i) {
        if (added[i]->lastPlayed.isValid())
            take({added[i]->lastPlayed.toMSecsSinceEpoch(), baseCount + qsizetype(i), added[i]});
    }
    const size_t kept = std::min(played.size(), size_t(std::max(count, 0)));
    std::partial_sort(played.begin(), played.begin() + qsizetype(kept), played.end(), newer);
    std::vector<Game> games;
    games.reserve(kept);
    for (size_t i = 0; i < kept; ++i)
        games.push_back(
            gameAt(played[i].order < baseCount ? played[i].order : -1, played[i].change));
    return games;
}

QString PlayHistory::describe(const std::optional<Game> &game)
{
    if (!game || game->launches == 0)
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
