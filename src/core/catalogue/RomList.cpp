#include "core/catalogue/RomList.h"

#include "core/files/TextFile.h"

#include <QDir>
#include <QFileInfo>

QString RomListFileName(const QString &emulatorName)
{
    return emulatorName + QLatin1String(RomListExtension);
}

GameRecord ParseRomLine(const QString &line)
{
    QString *fields[4];
    GameRecord game;
    fields[0] = &game.Name;
    fields[1] = &game.File;
    fields[2] = &game.DestinationDir;
    fields[3] = &game.Options;

    qsizetype start = 0;
    for (QString *field : fields) {
        const qsizetype equals = line.indexOf(u'=', start);
        if (equals < 0) {
            *field = line.mid(start);
            return game; // fewer than four "=": the rest stays empty
        }
        *field = line.mid(start, equals - start);
        start = equals + 1;
    }
    game.Type = line.mid(start);
    return game;
}

QString FormatRomLine(const GameRecord &game)
{
    return game.Name + u'=' + game.File + u'=' + game.DestinationDir + u'=' + game.Options + u'=' +
           game.Type;
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

bool WriteRomList(const QString &emulatorName, const std::vector<GameRecord> &games)
{
    QStringList lines;
    lines.reserve(qsizetype(games.size()));
    for (const GameRecord &game : games)
        lines.append(FormatRomLine(game));
    return SaveTextLines(QDir(App().ProgramDir).filePath(RomListFileName(emulatorName)), lines);
}

std::vector<GameRecord> ReadRomList(const QString &path)
{
    std::vector<GameRecord> games;
    if (!QFileInfo::exists(path))
        return games;
    const TextReadResult read = ReadTextLines(path);
    if (!read.lines) {
        ShowReadError(path, read.error);
        return games;
    }
    games.reserve(size_t(read.lines->size()));
    for (const QString &line : *read.lines) {
        if (!line.isEmpty())
            games.push_back(ParseRomLine(line));
    }
    return games;
}
