#include "core/gamedata/PlayHistoryLine.h"

#include <QDateTime>

#include <limits>

namespace zanku::history {
namespace {
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
} // namespace

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

void textsOf(QByteArrayView texts, QString &emulator, QString &name, QString &file)
{
    const qsizetype tab = texts.indexOf('\t'), tab2 = texts.indexOf('\t', tab + 1);
    emulator = textOf(texts.first(tab));
    name = textOf(texts.sliced(tab + 1, tab2 - tab - 1));
    file = textOf(texts.sliced(tab2 + 1));
}

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

void readStats(QByteArrayView line, PlayHistory::Game &game)
{
    Fields fields;
    split(line, fields);
    game.launches = int(*numberOf(fields.launches, std::numeric_limits<int>::max()));
    game.seconds = *numberOf(fields.seconds, std::numeric_limits<qint64>::max());
    game.lastPlayed = fields.date == "-" ? QDateTime() : dateOf(fields.date);
    game.favourite = fields.favourite == "1";
}

} // namespace zanku::history
