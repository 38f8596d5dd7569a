#include "core/library/Library.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/catalogue/RomList.h"
#include "core/common/Quoted.h"
#include "core/launch/PlayersFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <utility>

namespace zanku {

Library::Library(const QString &programDir, QObject *parent)
    : QObject(parent)
    , programDir_(QDir::cleanPath(QDir(programDir).absolutePath()))
    , extractions_(programDir_)
{
    connect(&extractions_, &Extractions::notice, this, &Library::notice);
    connect(&extractions_, &Extractions::removed, this, &Library::extractionRemoved);
    // A run whose Zanku ended before it: counted here, as if this Zanku had started it.
    connect(
        &extractions_, &Extractions::played, this,
        [this](const QString &emulator, const QString &name, const QString &file, qint64 seconds) {
            history_.played(emulator, historyName(emulator, name, file), file, seconds);
            saveHistory();
        });
}

void Library::start()
{
    history_.load(programDir_);
    // A history that cannot be read is never replaced: it stays as it is, unrecorded.
    if (history_.readOnly() && !std::exchange(historyWarned_, true))
        emit notice(QStringLiteral("Error"),
                    ReadErrorText(history_.path(), history_.readError()) +
                        QStringLiteral("\nWhat is played now will not be recorded."));
    ReadConfig();
    // What a crashed session extracted would otherwise be listed as the game itself.
    extractions_.recover(emulatorDirectories());
    LoadCatalogue();
    // The kept saves under an earlier version's names, with every game of each emulator
    // known, so that no game takes another's.
    QHash<int, QStringList> files;
    for (int slot = 1; slot <= GameCount(); ++slot)
        files[game(slot).EmulatorIndex].append(game(slot).File);
    for (auto listed = files.cbegin(); listed != files.cend(); ++listed) {
        if (listed.key() >= 1 && listed.key() <= EmulatorCount())
            MigrateSavesNames(programDir_, emulator(listed.key()).Name, listed.value());
    }
}

QStringList Library::emulatorDirectories() const
{
    QStringList directories;
    for (int e = 1; e <= EmulatorCount(); ++e)
        directories.append(EmulatorPlaces(emulator(e), programDir_).directory());
    return directories;
}

bool Library::ReadConfig()
{
    ConfigRead read = readConfigWithoutLoading();
    Emulators.resize(1);
    configError_ = read.error;
    if (read.status == TextReadResult::Unreadable)
        emit notice(
            QStringLiteral("Error"),
            ReadErrorText(QDir(programDir_).filePath(QLatin1String(ConfigFileName)), read.error));
    if (read.pastVersion)
        return false;
    Emulators.insert(Emulators.end(), std::make_move_iterator(read.records.begin()),
                     std::make_move_iterator(read.records.end()));
    return true;
}

void Library::LoadCatalogue()
{
    emit catalogueAboutToChange();
    renamedSinceLoad_.clear(); // the games now carry their new names
    Games.resize(1);           // refilled in place: a large table is never held twice
    const QStringList problems = BuildCatalogue(Emulators, programDir_, Games);
    listedEmulators_.assign(1, QString());
    for (int e = 1; e <= EmulatorCount(); ++e)
        listedEmulators_.push_back(emulator(e).Name);
    for (const QString &problem : problems)
        emit notice(QStringLiteral("Error"), problem);
    emit catalogueChanged();
}

void Library::reload()
{
    CleanupExtraction();
    ReadConfig();
    LoadCatalogue();
}

ConfigRead Library::readConfigWithoutLoading()
{
    ConfigRead read = ReadConfigFile(QDir(programDir_).filePath(QLatin1String(ConfigFileName)));
    if (read.pastVersion)
        emit pastVersion(QLatin1String(PastVersionText));
    return read;
}

RomListRead Library::readRomList(const QString &emulatorName) const
{
    return ReadRomList(QDir(programDir_).filePath(RomListFileName(emulatorName)));
}

SaveResult Library::save(const QString &path, const QStringList &lines, const FileVersion &readAs)
{
    // Something other than a file in its place is refused by the write, which says why.
    const bool file = QFileInfo(path).isFile() || !QFileInfo::exists(path);
    if (file && !CurrentVersion(path).sameContentAs(readAs))
        return {SaveResult::ChangedSinceRead, {}, {}};
    const TextWriteResult written = WriteTextLines(path, lines, readAs.encoding);
    if (!written.ok)
        return {SaveResult::Failed, SaveErrorText(path, written.error), {}};
    return {SaveResult::Saved, {}, written.version};
}

SaveResult Library::WriteConfig(const std::vector<EmulatorRecord> &emulators,
                                const FileVersion &readAs)
{
    const SaveResult result = save(QDir(programDir_).filePath(QLatin1String(ConfigFileName)),
                                   FormatConfig(emulators), readAs);
    return result;
}

SaveResult Library::WriteRomList(const QString &emulatorName, const std::vector<GameRecord> &games,
                                 const FileVersion &readAs)
{
    const std::vector<GameRecord> before = readRomList(emulatorName).records;
    const SaveResult result = save(QDir(programDir_).filePath(RomListFileName(emulatorName)),
                                   FormatRomList(games), readAs);
    if (result.status == SaveResult::Saved) {
        keepNamesOf(emulatorName, before, games);
        emit romListChanged(emulatorName);
    }
    return result;
}

void Library::keepNamesOf(const QString &emulatorName, const std::vector<GameRecord> &before,
                          const std::vector<GameRecord> &after)
{
    // A game whose File appears once before and once after, under another name, was
    // renamed: what it played goes with it.
    const auto byFile = [](const std::vector<GameRecord> &games) {
        QHash<QString, QString> names;
        QSet<QString> twice;
        for (const GameRecord &game : games) {
            if (names.contains(game.File))
                twice.insert(game.File);
            names.insert(game.File, game.Name);
        }
        for (const QString &file : twice)
            names.remove(file);
        return names;
    };
    const QHash<QString, QString> was = byFile(before), now = byFile(after);
    bool renamed = false;
    for (auto game = now.cbegin(); game != now.cend(); ++game) {
        const auto old = was.constFind(game.key());
        if (old == was.cend() || old.value() == game.value())
            continue;
        // The grid shows the old name until the catalogue is read again.
        const QString key = emulatorName + QChar(0) + game.key() + QChar(0);
        for (auto renamed = renamedSinceLoad_.begin(); renamed != renamedSinceLoad_.end();
             ++renamed) {
            if (renamed.key().startsWith(key) && renamed.value() == old.value())
                renamed.value() = game.value();
        }
        renamedSinceLoad_.insert(key + old.value(), game.value());
        if (history_.find(emulatorName, old.value(), game.key())) {
            history_.rename(emulatorName, game.key(), old.value(), game.value());
            renamed = true;
        }
    }
    if (renamed)
        saveHistory();
}

void Library::saveHistory()
{
    QString error;
    // A history read-only for the session was told of once, at the start.
    if (!history_.readOnly() && !history_.save(&error) && !std::exchange(historyWarned_, true))
        emit notice(QStringLiteral("Error"), error);
    emit historyChanged();
}

QString Library::historyName(const QString &emulatorName, const QString &name,
                             const QString &file) const
{
    if (renamedSinceLoad_.isEmpty())
        return name;
    return renamedSinceLoad_.value(emulatorName + QChar(0) + file + QChar(0) + name, name);
}

std::optional<PlayHistory::Game> Library::played(int slot, const QString &emulatorName) const
{
    if (slot < 1 || slot > GameCount())
        return std::nullopt;
    const GameRecord &shown = game(slot);
    return history_.find(emulatorName, historyName(emulatorName, shown.Name, shown.File),
                         shown.File);
}

void Library::setFavourite(int slot, const QString &emulatorName, bool favourite)
{
    if (slot < 1 || slot > GameCount())
        return;
    const GameRecord &shown = game(slot);
    history_.setFavourite(emulatorName, historyName(emulatorName, shown.Name, shown.File),
                          shown.File, favourite);
    saveHistory();
}

int Library::slotOf(const PlayHistory::Game &played) const
{
    for (int slot = 1; slot <= GameCount(); ++slot) {
        const GameRecord &candidate = game(slot);
        if (candidate.File == played.file && candidate.EmulatorIndex >= 1 &&
            candidate.EmulatorIndex <= EmulatorCount() &&
            emulator(candidate.EmulatorIndex).Name == played.emulator &&
            historyName(played.emulator, candidate.Name, candidate.File) == played.name)
            return slot;
    }
    return 0;
}

QStringList Library::makeMissingRomLists(const std::vector<EmulatorRecord> &emulators)
{
    QStringList problems;
    for (const EmulatorRecord &emulator : emulators) {
        const QString list = QDir(programDir_).filePath(RomListFileName(emulator.Name));
        if (emulator.Name.isEmpty() || QFileInfo::exists(list))
            continue;
        const TextWriteResult written = WriteTextLines(list, {}, TextEncoding::Utf8);
        if (!written.ok)
            problems.append(SaveErrorText(list, written.error));
    }
    return problems;
}

QStringList Library::renameEmulator(const QString &from, const QString &to)
{
    QStringList problems;
    const QDir dir(programDir_);
    const QString oldList = dir.filePath(RomListFileName(from));
    const QString newList = dir.filePath(RomListFileName(to));
    if (QFileInfo::exists(oldList) && !QFileInfo::exists(newList) &&
        !QFile::rename(oldList, newList))
        problems.append(QStringLiteral("%1 could not be renamed to %2.")
                            .arg(Quoted(QDir::toNativeSeparators(oldList)),
                                 Quoted(QFileInfo(newList).fileName())));
    const QString saves = dir.filePath(QStringLiteral("Saves/"));
    const QString oldSaves = saves + SavesName(from), newSaves = saves + SavesName(to);
    if (QFileInfo(oldSaves).isDir() && !QFileInfo::exists(newSaves) &&
        !QDir().rename(oldSaves, newSaves))
        problems.append(
            QStringLiteral("%1 could not be renamed to %2.")
                .arg(Quoted(QDir::toNativeSeparators(oldSaves)), Quoted(SavesName(to))));
    if (history_.renameEmulator(from, to))
        saveHistory();
    emit romListChanged(to);
    return problems;
}

TextWriteResult Library::appendToRomList(const QString &emulatorName, const QStringList &lines)
{
    const TextWriteResult written =
        AppendTextLines(QDir(programDir_).filePath(RomListFileName(emulatorName)), lines);
    if (written.ok)
        emit romListChanged(emulatorName);
    return written;
}

GameKey Library::keyOf(int slot) const
{
    // A game without a name is no game to choose or launch.
    if (slot < 1 || slot > GameCount() || game(slot).Name.isEmpty())
        return {};
    const GameRecord &listed = game(slot);
    const size_t e = size_t(listed.EmulatorIndex);
    return {e < listedEmulators_.size() ? listedEmulators_[e] : QString(), listed.Name,
            listed.File};
}

int Library::slotOf(const GameKey &key) const
{
    for (int slot = 1; !key.isNull() && slot <= GameCount(); ++slot) {
        if (game(slot).Name == key.name && game(slot).File == key.file && keyOf(slot) == key)
            return slot;
    }
    return 0;
}

void Library::launch(const GameKey &key)
{
    LaunchGame(slotOf(key), key.name, key.emulator);
}

int Library::emulatorOfRow(int slot, const QString &emulatorName) const
{
    const int own = slot >= 1 && slot <= GameCount() ? game(slot).EmulatorIndex : 0;
    const auto named = [&](int e) {
        return e >= 1 && e <= EmulatorCount() &&
               (emulatorName.isEmpty() || emulator(e).Name == emulatorName);
    };
    if (named(own))
        return own;
    for (int e = 1; !emulatorName.isEmpty() && e <= EmulatorCount(); ++e) {
        if (named(e))
            return e;
    }
    return 0;
}

QString Library::snapshotOf(int slot, const QString &emulatorName) const
{
    const int e = emulatorOfRow(slot, emulatorName);
    if (e == 0)
        return {};
    const EmulatorPlaces places(emulator(e), programDir_);
    return places.directory().isEmpty() ? QString()
                                        : places.snapshotOf(game(slot).File, game(slot).Name);
}

CoverPlace Library::coverPlaceOf(int slot) const
{
    const int e = emulatorOfRow(slot, QString());
    if (e == 0)
        return {};
    return EmulatorPlaces(emulator(e), programDir_).coverPlaceOf(game(slot).File, game(slot).Name);
}

} // namespace zanku
