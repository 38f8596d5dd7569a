#include "core/catalogue/RomList.h"

#include "core/files/FileNames.h"

QString RomListFileName(const QString &emulatorName)
{
    return emulatorName + QLatin1String(RomListExtension);
}

std::array<QStringView, GameFieldCount> SplitRomLine(QStringView line)
{
    std::array<QStringView, GameFieldCount> fields;
    qsizetype start = 0;
    for (size_t field = 0; field + 1 < fields.size(); ++field) {
        const qsizetype equals = line.indexOf(u'=', start);
        if (equals < 0) {
            fields[field] = line.sliced(start);
            return fields; // fewer than four "=": the rest stays empty
        }
        fields[field] = line.sliced(start, equals - start);
        start = equals + 1;
    }
    fields.back() = line.sliced(start); // "=" and all
    return fields;
}

GameRecord ParseRomLine(QStringView line)
{
    const std::array<QStringView, GameFieldCount> fields = SplitRomLine(line);
    GameRecord game;
    for (size_t field = 0; field < fields.size(); ++field)
        game.*zanku::GameFields[field].member = fields[field].toString();
    return game;
}

QString FormatRomLine(const GameRecord &game)
{
    QStringList fields;
    for (const auto &field : zanku::GameFields)
        fields.append(game.*field.member);
    return fields.join(u'=');
}

QString ArchivePathFor(const QString &zippedRomPath, const QString &file, QChar separator,
                       GameArchive archive)
{
    // Without a Zipped Rom Path the archives lie beside the games.
    const QString name = StripExtension(file) + QLatin1String(ArchiveExtensions[size_t(archive)]);
    return zippedRomPath.isEmpty() ? name : zippedRomPath + separator + name;
}

QStringList FormatRomList(const std::vector<GameRecord> &games)
{
    QStringList lines;
    lines.reserve(qsizetype(games.size()));
    for (const GameRecord &game : games)
        lines.append(FormatRomLine(game));
    return lines;
}

zanku::ListRead<GameRecord> ReadRomList(const QString &path, bool versioned)
{
    QString text;
    const TextReadResult file = ReadText(path, text, versioned);
    zanku::ListRead<GameRecord> read{{}, file.status, file.error, file.version};
    TextLines lines(text);
    for (QStringView line; lines.next(line);) {
        if (!line.isEmpty())
            read.records.push_back(ParseRomLine(line));
    }
    return read;
}
