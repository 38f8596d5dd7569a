#include "core/library/PlayHistory.h"

#include "core/files/TextFile.h"

#include <QDir>
#include <QLocale>

#include <algorithm>

namespace zanku {
namespace {
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
} // namespace

QString PlayHistory::keyOf(const QString &emulator, const QString &name, const QString &file)
{
    return emulator + QChar(0) + name + QChar(0) + file;
}

void PlayHistory::load(const QString &programDir)
{
    path_ = QDir(programDir).filePath(QLatin1String(FileName));
    games_.clear();
    index_.clear();
    unread_.clear();
    const TextReadResult read = ReadTextLines(path_);
    for (const QString &line : read.lines) {
        const QStringList texts = line.section(u' ', 4).split(u'\t');
        const QStringList numbers = line.section(u' ', 0, 3).split(u' ');
        bool ok[2] = {};
        Game game;
        if (texts.size() == 3 && numbers.size() == 4) {
            game = {unescaped(texts[0]),
                    unescaped(texts[1]),
                    unescaped(texts[2]),
                    numbers[0].toInt(&ok[0]),
                    numbers[1].toLongLong(&ok[1]),
                    QDateTime::fromString(numbers[2], Qt::ISODate),
                    numbers[3] == u"1"};
        }
        const bool dated = game.lastPlayed.isValid() || numbers.value(2) == u"-";
        if (!ok[0] || !ok[1] || !dated || (numbers.value(3) != u"0" && numbers.value(3) != u"1")) {
            if (!line.isEmpty())
                unread_.append(line);
            continue;
        }
        entry(game.emulator, game.name, game.file) = game;
    }
}

bool PlayHistory::save(QString *error) const
{
    QStringList lines;
    for (const Game &game : games_) {
        lines.append(QStringLiteral("%1 %2 %3 %4 %5\t%6\t%7")
                         .arg(game.launches)
                         .arg(game.seconds)
                         .arg(game.lastPlayed.isValid()
                                  ? game.lastPlayed.toUTC().toString(Qt::ISODateWithMs)
                                  : QStringLiteral("-"))
                         .arg(game.favourite ? 1 : 0)
                         .arg(escaped(game.emulator), escaped(game.name), escaped(game.file)));
    }
    const TextWriteResult written = WriteTextLines(path_, lines + unread_, TextEncoding::Utf8);
    if (!written.ok && error != nullptr)
        *error = SaveErrorText(path_, written.error);
    return written.ok;
}

PlayHistory::Game &PlayHistory::entry(const QString &emulator, const QString &name,
                                      const QString &file)
{
    const QString key = keyOf(emulator, name, file);
    if (const auto found = index_.constFind(key); found != index_.cend())
        return games_[found.value()];
    index_.insert(key, games_.size());
    games_.push_back({emulator, name, file, 0, 0, {}, false});
    return games_.back();
}

const PlayHistory::Game *PlayHistory::find(const QString &emulator, const QString &name,
                                           const QString &file) const
{
    const auto found = index_.constFind(keyOf(emulator, name, file));
    return found == index_.cend() ? nullptr : &games_[found.value()];
}

void PlayHistory::launched(const QString &emulator, const QString &name, const QString &file,
                           const QDateTime &when)
{
    Game &game = entry(emulator, name, file);
    ++game.launches;
    game.lastPlayed = when;
}

void PlayHistory::played(const QString &emulator, const QString &name, const QString &file,
                         qint64 seconds)
{
    entry(emulator, name, file).seconds += seconds;
}

void PlayHistory::setFavourite(const QString &emulator, const QString &name, const QString &file,
                               bool on)
{
    entry(emulator, name, file).favourite = on;
}

void PlayHistory::rename(const QString &emulator, const QString &file, const QString &from,
                         const QString &to)
{
    const auto found = index_.constFind(keyOf(emulator, from, file));
    if (found == index_.cend() || index_.contains(keyOf(emulator, to, file)))
        return;
    const size_t at = found.value();
    index_.erase(found);
    games_[at].name = to;
    index_.insert(keyOf(emulator, to, file), at);
}

std::vector<const PlayHistory::Game *> PlayHistory::recent(int count) const
{
    std::vector<const Game *> played;
    for (const Game &game : games_) {
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
