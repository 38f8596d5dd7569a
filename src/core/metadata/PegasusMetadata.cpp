#include "core/common/CoreText.h"
#include "core/files/RegularFile.h"
#include "core/metadata/GameMetadata.h"
#include "core/metadata/PegasusText.h"

namespace zanku {

QString PegasusLine(QByteArrayView line)
{
    return line.isValidUtf8() ? QString::fromUtf8(line) : QString::fromLatin1(line);
}

QString PegasusDescription(QByteArrayView raw)
{
    QString text;
    bool lineStart = true;
    bool first = true;
    for (QByteArrayView line : QByteArray::fromRawData(raw.data(), raw.size()).split('\n')) {
        const QString part = PegasusLine(line).trimmed();
        const bool comment = !first && line.startsWith('#');
        first = false;
        if (comment || part.isEmpty())
            continue; // comments and blank lines are not part of the value
        if (part == QLatin1String(".")) {
            text += QLatin1String(text.isEmpty() ? "\n" : "\n\n");
            lineStart = true;
            continue;
        }
        if (!lineStart)
            text += QLatin1Char(' ');
        text += part;
        lineStart = false;
    }
    return text;
}

namespace {
QString *fieldOf(MetadataFields &game, const QString &key)
{
    static const std::pair<const char *, QString MetadataFields::*> fields[] = {
        {"developer", &MetadataFields::developer},
        {"developers", &MetadataFields::developer},
        {"publisher", &MetadataFields::publisher},
        {"publishers", &MetadataFields::publisher},
        {"genre", &MetadataFields::genre},
        {"genres", &MetadataFields::genre},
        {"players", &MetadataFields::players},
        {"rating", &MetadataFields::rating},
        {"release", &MetadataFields::date},
        {"assets.screenshot", &MetadataFields::image},
        {"assets.screenshots", &MetadataFields::image},
        {"assets.box_front", &MetadataFields::thumbnail},
        {"assets.boxfront", &MetadataFields::thumbnail},
        {"assets.marquee", &MetadataFields::marquee},
        {"assets.logo", &MetadataFields::marquee},
        {"assets.wheel", &MetadataFields::marquee}};
    for (const auto &[name, field] : fields)
        if (key == QLatin1String(name))
            return &(game.*field);
    return nullptr;
}

struct PegasusReader {
    MetadataRead result;
    enum Block { None, Game, Collection } block = None;
    MetadataFields game;
    QStringList files;
    QString key; // the key whose value the indented lines continue
    bool describing = false;
    qint64 line = 0;

    void fail(const QString &why)
    {
        if (result.error.isEmpty()) {
            result.error = why;
            result.line = line;
        }
    }

    void endGame()
    {
        if (block == Game) {
            if (files.isEmpty())
                files.append(QString());
            for (const QString &file : std::as_const(files)) {
                game.path = file;
                result.games.emplace_back(game);
            }
        }
        game = MetadataFields();
        files.clear();
    }

    void describe(qint64 offset, qint64 end)
    {
        game.descriptionForm = end > offset ? GameMetadata::Pegasus : GameMetadata::NoDescription;
        game.descriptionOffset = offset;
        game.descriptionLength = end - offset;
    }

    void value(const QString &value, qint64 valueOffset, qint64 end)
    {
        if (key == QLatin1String("game")) {
            endGame();
            block = Game;
            game.name = value;
        } else if (key == QLatin1String("collection")) {
            endGame();
            block = Collection;
        } else if (block == None) {
            fail(CoreText::tr("\"%1\" stands outside any game or collection").arg(key));
        } else if (block == Collection) {
            return; // a collection's own keys say nothing of its games
        } else if (key == QLatin1String("file") || key == QLatin1String("files")) {
            if (!value.isEmpty())
                files.append(value);
        } else if (key == QLatin1String("description") ||
                   (key == QLatin1String("summary") && !game.descriptionForm)) {
            describe(valueOffset, end);
            describing = true;
        } else if (QString *field = fieldOf(game, key)) {
            *field = value;
        }
    }

    // An indented line: one more file, more of the description, or more of a short value.
    void more(const QString &value, qint64 end)
    {
        if (block != Game)
            return;
        if (key == QLatin1String("file") || key == QLatin1String("files"))
            files.append(value);
        else if (describing)
            describe(game.descriptionOffset, end);
        else if (QString *field = fieldOf(game, key))
            *field += (field->isEmpty() ? QString() : QStringLiteral(", ")) + value;
    }

    void readLine(const QByteArray &bytes, qint64 start, qint64 end)
    {
        QByteArrayView raw(bytes.constData() + start, end - start);
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString text = PegasusLine(raw);
        if (text.trimmed().isEmpty() || raw.startsWith('#'))
            return;
        if (text.front().isSpace()) {
            if (key.isEmpty())
                fail(CoreText::tr("an indented line continues no key"));
            else
                more(text.trimmed(), start + raw.size());
            return;
        }
        const qsizetype colon = raw.indexOf(':');
        if (colon <= 0) {
            fail(CoreText::tr("a line without \"key:\""));
            key.clear();
            return;
        }
        key = PegasusLine(raw.first(colon)).trimmed().toLower();
        describing = false;
        qint64 valueStart = colon + 1;
        while (valueStart < raw.size() && (raw[valueStart] == ' ' || raw[valueStart] == '\t'))
            ++valueStart;
        value(PegasusLine(raw.sliced(valueStart)).trimmed(), start + valueStart,
              start + raw.size());
    }
};
} // namespace

MetadataRead ReadPegasusMetadata(const QString &path, qint64 maxBytes)
{
    const RegularFileRead file = ReadRegularFile(path, maxBytes);
    PegasusReader reader;
    if (!file.ok()) {
        reader.result.error = file.reason;
        return reader.result;
    }
    const QByteArray &bytes = file.content;
    qint64 start = bytes.startsWith("\xef\xbb\xbf") ? 3 : 0;
    while (start < bytes.size()) {
        ++reader.line;
        qint64 end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end;
        reader.readLine(bytes, start, end);
        start = end + 1;
    }
    reader.endGame();
    return reader.result;
}

} // namespace zanku
