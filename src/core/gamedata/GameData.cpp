#include "core/gamedata/GameData.h"

#include "core/common/CoreText.h"
#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"
#include "core/gamedata/ConflictCopies.h"
#include "core/gamedata/PlayHistorySave.h"

#include <QDateTime>
#include <QFile>

#include <utility>

namespace zanku {

GameData::GameData(QObject *parent)
    : QObject(parent)
{
}

GameData::~GameData()
{
    blockSignals(true); // what listens may be going too
    flush();
}

void GameData::load(const QString &programDir)
{
    flush(); // nothing played here is dropped with the file as it was
    renamedSinceLoad_.clear();
    shownSinceLoad_.clear();
    history_.load(programDir);
    choices_.load(programDir);
    // A file that cannot be read is never replaced: it stays as it is, unrecorded.
    if (history_.readOnly() && !std::exchange(historyWarned_, true))
        emit notice(CoreText::tr("Error"),
                    ReadErrorText(history_.path(), history_.readError()) +
                        CoreText::tr("\nWhat is played now will not be recorded."));
    if (choices_.readOnly() && !std::exchange(choicesWarned_, true))
        emit notice(CoreText::tr("Error"),
                    ReadErrorText(choices_.path(), choices_.readError()) +
                        CoreText::tr("\nCollections and launch choices will not be saved."));
    mergeConflictCopies(programDir);
}

void GameData::mergeConflictCopies(const QString &programDir)
{
    // Each copy is merged and saved on its own, and removed only once what it held is in
    // the file: a copy that cannot be merged whole stays for the next start.
    const auto mergeEach = [&](const char *fileName, bool writable, auto merge, auto save) {
        if (!writable)
            return;
        for (const QString &copy : ConflictCopiesOf(programDir, QLatin1String(fileName))) {
            const RegularFileRead read = ReadRegularFile(copy, PlayHistory::MaxFileSize);
            if (read.ok() && merge(read.content) && save())
                QFile::remove(copy);
        }
    };
    mergeEach(
        PlayHistory::FileName, !history_.readOnly(),
        [this](const QByteArray &content) {
            const PlayHistory copy = PlayHistory::parse(content);
            history_.mergeCopy(copy);
            return copy.unreadLines().empty();
        },
        [this] { return history_.save(); });
    mergeEach(
        PlayerChoices::FileName, !choices_.readOnly(),
        [this](const QByteArray &content) {
            const PlayerChoices copy = PlayerChoices::parse(content);
            choices_.mergeFrom(copy);
            return copy.unreadLines().empty();
        },
        [this] { return choices_.save(); });
}

GameKey GameData::dataKey(const GameKey &game) const
{
    if (renamedSinceLoad_.isEmpty())
        return game;
    const auto renamed = renamedSinceLoad_.constFind(game);
    return renamed == renamedSinceLoad_.cend() ? game : GameKey{game.emulator, *renamed, game.file};
}

GameKey GameData::shownKey(const GameKey &kept) const
{
    if (shownSinceLoad_.isEmpty())
        return kept;
    return shownSinceLoad_.value(kept, kept);
}

std::optional<PlayHistory::Game> GameData::played(const GameKey &game) const
{
    if (game.isNull())
        return std::nullopt;
    return history_.find(dataKey(game));
}

bool GameData::isFavourite(const GameKey &game) const
{
    const std::optional<PlayHistory::Game> found = played(game);
    return found && found->favourite;
}

void GameData::setFavourite(const GameKey &game, bool favourite)
{
    if (game.isNull())
        return;
    history_.setFavourite(dataKey(game), favourite);
    saveHistory();
}

void GameData::launched(const GameKey &game)
{
    history_.launched(dataKey(game), QDateTime::currentDateTimeUtc());
    saveHistory();
}

void GameData::ended(const GameKey &game, qint64 seconds)
{
    history_.played(dataKey(game), seconds);
    saveHistory();
}

QString GameData::launchWith(const GameKey &game) const
{
    return choices_.launchWith(dataKey(game));
}

void GameData::setLaunchWith(const GameKey &game, const QString &emulator)
{
    choices_.setLaunchWith(dataKey(game), emulator);
    saveChoices();
}

QStringList GameData::collectionsOf(const GameKey &game) const
{
    return choices_.collectionsOf(dataKey(game));
}

bool GameData::isIn(const GameKey &game, const QString &collection) const
{
    return choices_.contains(collection, dataKey(game));
}

void GameData::addToCollection(const GameKey &game, const QString &collection)
{
    choices_.add(collection, dataKey(game));
    saveChoices();
}

void GameData::removeFromCollection(const GameKey &game, const QString &collection)
{
    choices_.remove(collection, dataKey(game));
    saveChoices();
}

bool GameData::renameCollection(const QString &from, const QString &to)
{
    if (!choices_.renameCollection(from, to))
        return false;
    saveChoices();
    return true;
}

void GameData::deleteCollection(const QString &name)
{
    choices_.deleteCollection(name);
    saveChoices();
}

void GameData::renameGame(const QString &emulator, const QString &file, const QString &from,
                          const QString &to)
{
    // The rows show the old name until the catalogue is read again.
    for (auto renamed = renamedSinceLoad_.begin(); renamed != renamedSinceLoad_.end(); ++renamed) {
        if (renamed.key().emulator == emulator && renamed.key().file == file &&
            renamed.value() == from)
            renamed.value() = to;
    }
    renamedSinceLoad_.insert({emulator, from, file}, to);
    // Renamed twice since the read: still shown by the name the catalogue read.
    const GameKey shown = shownSinceLoad_.take({emulator, from, file});
    shownSinceLoad_.insert({emulator, to, file},
                           shown.isNull() ? GameKey{emulator, from, file} : shown);
    const bool played = history_.find({emulator, from, file}).has_value();
    if (played)
        history_.rename(emulator, file, from, to);
    choices_.renameGame(emulator, file, from, to);
    if (played)
        saveHistory();
    saveChoices();
}

void GameData::renameEmulator(const QString &from, const QString &to)
{
    if (history_.renameEmulator(from, to))
        saveHistory();
    choices_.renameEmulator(from, to);
    saveChoices();
}

void GameData::saveHistory()
{
    // A history read-only for the session was told of once, at the start.
    if (!history_.readOnly()) {
        if (historySave_ != nullptr)
            saveAgain_ = true; // saved once the save under way is in
        else
            startHistorySave();
    }
    emit changed();
}

void GameData::startHistorySave()
{
    historySave_ = std::make_unique<PlayHistorySave>(history_);
    const quint64 generation = historyWork_.generation();
    historyWork_.run([this, save = historySave_.get(), generation] {
        save->run();
        historyWork_.post(generation, [this] { historySaved(); });
    });
}

void GameData::historySaved()
{
    const std::unique_ptr<PlayHistorySave> save = std::move(historySave_);
    QString error;
    if (!history_.finishSave(*save, &error) && !std::exchange(historyWarned_, true))
        emit notice(CoreText::tr("Error"), error);
    else if (std::exchange(saveAgain_, false) && history_.hasChanges())
        startHistorySave();
}

void GameData::flush()
{
    saveAgain_ = false; // what changed meanwhile is saved here
    if (historySave_ != nullptr) {
        historyWork_.stop();
        historyWork_.restart(); // its result, posted already, is taken here instead
        historySaved();
    }
    QString error;
    if (!history_.readOnly() && history_.hasChanges() && !history_.save(&error) &&
        !std::exchange(historyWarned_, true))
        emit notice(CoreText::tr("Error"), error);
}

void GameData::saveChoices()
{
    QString error;
    if (!choices_.readOnly() && choices_.hasChanges() && !choices_.save(&error) &&
        !std::exchange(choicesWarned_, true))
        emit notice(CoreText::tr("Error"), error);
    emit changed();
}

} // namespace zanku
