#include "core/files/SettingsFile.h"

#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace zanku {
namespace {
const QLatin1StringView BytesStart("@ByteArray(");

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A value as QSettings escapes it: bytes outside printable ASCII as "\xNN" (text keeps
// them as UTF-8), quoted when a separator or an outer blank would be lost.
QByteArray escaped(const QString &value, bool bytes)
{
    static const QByteArray plain("\a\b\f\n\r\t\v"), named("abfnrtv");
    QByteArray out;
    bool quote = value.startsWith(u' ') || value.endsWith(u' ');
    bool hexNext = false; // a digit after "\xNN" or "\0" must not read as part of it
    for (const QChar qc : value) {
        const char16_t c = qc.unicode();
        quote = quote || c == u';' || c == u',' || c == u'=';
        if (hexNext && c < 0x80 && isHex(char(c))) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        hexNext = false;
        if (c == 0) {
            out += "\\0";
            hexNext = true;
        } else if (c < 0x80 && plain.contains(char(c))) {
            out.append('\\').append(named.at(plain.indexOf(char(c))));
        } else if (c == u'"' || c == u'\\') {
            out.append('\\').append(char(c));
        } else if (c <= 0x1f || (c >= 0x7f && bytes)) {
            out += "\\x" + QByteArray::number(c, 16);
            hexNext = true;
        } else {
            out += QString(qc).toUtf8();
        }
    }
    return quote ? '"' + out + '"' : out;
}

// The value of a "key=value" line after its "=", undoing escaped().
QString unescaped(QByteArrayView text)
{
    static const QByteArray plain("\a\b\f\n\r\t\v\"?'\\"), named("abfnrtv\"?'\\");
    QByteArray out;             // UTF-8, as Qt reads the file
    qsizetype at = 0, keep = 0; // keep: what trailing blanks may not be chopped from
    bool quoted = false, wasQuoted = false;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    while (at < text.size()) {
        const char c = text[at++];
        if (c == '"') {
            quoted = !quoted;
            wasQuoted = true;
        } else if (c == ';' && !quoted) {
            break; // a comment
        } else if (c != '\\') {
            out += c;
        } else if (at < text.size()) {
            const char e = text[at++];
            const bool hex = e == 'x', octal = e >= '0' && e <= '7';
            if (named.contains(e)) {
                out += plain.at(named.indexOf(e));
            } else if (hex || octal) {
                uint code = hex ? 0 : uint(e - '0');
                for (; at < text.size() &&
                       (hex ? isHex(text[at]) : text[at] >= '0' && text[at] <= '7');
                     ++at)
                    code = code * (hex ? 16 : 8) + QByteArray(1, text[at]).toUInt(nullptr, 16);
                out += QString(QChar(char16_t(code))).toUtf8();
            }
            keep = out.size();
        }
    }
    while (!wasQuoted && out.size() > keep && (out.endsWith(' ') || out.endsWith('\t')))
        out.chop(1);
    return QString::fromUtf8(out);
}
} // namespace

Settings ParseSettings(const QByteArray &text)
{
    Settings values;
    QString group;
    for (const QByteArray &whole : text.split('\n')) {
        const QByteArray line = whole.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            group = QString::fromUtf8(line.sliced(1, line.size() - 2));
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0 || line.startsWith(';'))
            continue;
        const QString key = QString::fromUtf8(line.first(equals).trimmed());
        const QString value = unescaped(line.sliced(equals + 1));
        const QString name =
            group.isEmpty() || group == QLatin1StringView("General") ? key : group + u'/' + key;
        if (value.startsWith(BytesStart) && value.endsWith(u')'))
            values.insert(name, value.sliced(BytesStart.size()).chopped(1).toLatin1());
        else if (!value.startsWith(u'@') || value.startsWith(QLatin1StringView("@@")))
            values.insert(name, value.startsWith(u'@') ? value.sliced(1) : value);
    }
    return values;
}

QByteArray FormatSettings(const Settings &values)
{
    QMap<QString, QByteArray> groups; // the lines of each, by its name
    for (auto value = values.begin(); value != values.end(); ++value) {
        const qsizetype slash = value.key().indexOf(u'/');
        const QString group = slash < 0 ? QStringLiteral("General") : value.key().first(slash);
        const bool bytes = value->typeId() == QMetaType::QByteArray;
        const QString text = bytes ? BytesStart + QString::fromLatin1(value->toByteArray()) + u')'
                             : value->toString().startsWith(u'@') ? u'@' + value->toString()
                                                                  : value->toString();
        groups[group] += value.key().sliced(slash + 1).toUtf8() + '=' + escaped(text, bytes) + '\n';
    }
    QByteArray text;
    for (auto group = groups.begin(); group != groups.end(); ++group)
        text += (text.isEmpty() ? "[" : "\n[") + group.key().toUtf8() + "]\n" + group.value();
    return text;
}

Settings ReadSettingsFile(const QString &path, qint64 maxBytes, QString *error)
{
    const RegularFileRead read = ReadRegularFile(path, maxBytes);
    if (error != nullptr)
        *error = read.status == RegularFileRead::Missing ? QString() : read.reason;
    return read.ok() ? ParseSettings(read.content) : Settings();
}

bool WriteSettingsFile(const QString &path, const Settings &values, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const TextWriteResult written = WriteFileBytes(path, FormatSettings(values));
    if (error != nullptr)
        *error = written.error;
    return written.ok;
}

} // namespace zanku
