#include "core/catalogue/RomList.h"

QString RomListFileName(const QString &emulatorName)
{
    return emulatorName + QLatin1String(RomListExtension);
}

GameRecord ParseRomLine(const QString &line)
{
    GameRecord game;
    qsizetype start = 0;
    for (size_t field = 0; field + 1 < zanku::GameFields.size(); ++field) {
        QString &value = game.*zanku::GameFields[field].member;
        const qsizetype equals = line.indexOf(u'=', start);
        if (equals < 0) {
            value = line.mid(start);
            return game; // fewer than four "=": the rest stays empty
        }
        value = line.mid(start, equals - start);
        start = equals + 1;
    }
    game.*zanku::GameFields.back().member = line.mid(start); // "=" and all
    return game;
}

QString FormatRomLine(const GameRecord &game)
{
    QStringList fields;
    for (const auto &field : zanku::GameFields)
        fields.append(game.*field.member);
    return fields.join(u'=');
}

QString StripExtension(const QString &fileName)
{
    // The final character is never taken as the extension's dot.
    const qsizetype dot =
        fileName.size() >= 2 ? fileName.lastIndexOf(u'.', fileName.size() - 2) : qsizetype(-1);
    return dot >= 0 ? fileName.left(dot) : fileName;
}

QString ArchivePathFor(const QString &zippedRomPath, const QString &file, QChar separator)
{
    return zippedRomPath + separator + StripExtension(file) + QLatin1String(".zip");
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
    const TextReadResult file = ReadTextLines(path, versioned);
    zanku::ListRead<GameRecord> read{{}, file.status, file.error, file.version};
    read.records.reserve(size_t(file.lines.size()));
    for (const QString &line : file.lines) {
        if (!line.isEmpty())
            read.records.push_back(ParseRomLine(line));
    }
    return read;
}
