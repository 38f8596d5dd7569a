#include "core/library/Library.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/catalogue/RomList.h"
#include "core/common/CoreText.h"
#include "core/common/FreedMemory.h"
#include "core/common/Quoted.h"
#include "core/gamedata/GameData.h"
#include "core/launch/Launcher.h"
#include "core/launch/PlayersFiles.h"
#include "core/library/LibraryMetadata.h"
#include "core/library/SavesRename.h"

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
    , gameData_(new GameData(this))
    , launcher_(new Launcher(programDir_, this))
    , metadata_(new LibraryMetadata(*this, this))
{
    Games.add(GameRecord{});
    // What was played: a launch counts once its emulator has run a while or ended well, its
    // time once the emulator has ended.
    connect(launcher_, &Launcher::started, gameData_, &GameData::launched);
    connect(launcher_, &Launcher::ended, gameData_, &GameData::ended);
    // What the windows follow: the launch's steps, the emulators running, every box.
    connect(launcher_, &Launcher::status, this, &Library::launchStatus);
    connect(launcher_, &Launcher::busy, this, &Library::launchBusy);
    connect(launcher_, &Launcher::runningChanged, this, &Library::emulatorsRunning);
    connect(launcher_, &Launcher::extractionRemoved, this, &Library::extractionRemoved);
    connect(launcher_, &Launcher::notice, this, &Library::notice);
    connect(launcher_, &Launcher::failed, this, &Library::launchFailed);
    connect(launcher_, &Launcher::emulatorEnded, this, &Library::emulatorEnded);
    // Plays, stars, choices and collections: the rows' stars, tooltips and filters follow.
    connect(gameData_, &GameData::changed, this, &Library::historyChanged);
    connect(gameData_, &GameData::notice, this, &Library::notice);
    connect(metadata_, &LibraryMetadata::readProblem, this, &Library::metadataProblem);
}

Library::~Library()
{
    launcher_->countRunning();
}

void Library::start()
{
    gameData_->load(programDir_);
    ReadConfig();
    // What a crashed session extracted would otherwise be listed as the game itself.
    launcher_->recover(emulatorDirectories());
    LoadCatalogue();
    // The kept saves under an earlier version's names, with every game of each emulator
    // known, so that no game takes another's; only emulators that have such saves list
    // their games' files (a list of every game would cost a large library megabytes).
    QHash<int, QStringList> files;
    for (int e = 1; e <= EmulatorCount(); ++e) {
        if (HasOldSavesFolder(programDir_, emulator(e).Name))
            files.insert(e, {});
    }
    for (int slot = 1; slot <= GameCount() && !files.isEmpty(); ++slot) {
        if (const auto listed = files.find(Games.emulator(size_t(slot))); listed != files.end())
            listed->append(Games.file(size_t(slot)).toString());
    }
    for (auto listed = files.cbegin(); listed != files.cend(); ++listed)
        MigrateSavesNames(programDir_, emulator(listed.key()).Name, listed.value());
}

void Library::CleanupExtraction()
{
    launcher_->cleanup();
}

bool Library::anyEmulatorRunning() const
{
    return launcher_->running() > 0;
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
            CoreText::tr("Error"),
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
    gameData_->catalogueRead(); // the games now carry their new names
    slotTable_.clear();
    Games = GameTable(); // a large table is never held twice
    Games.add(GameRecord{});
    const QStringList problems = BuildCatalogue(Emulators, programDir_, Games);
    ReturnFreedMemory(); // the directory listings', scattered among the games' names
    listedEmulators_.assign(1, QString());
    for (int e = 1; e <= EmulatorCount(); ++e)
        listedEmulators_.push_back(emulator(e).Name);
    for (const QString &problem : problems)
        emit notice(CoreText::tr("Error"), problem);
    metadata_->catalogueRead(); // the slots name other games now
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
    for (auto game = now.cbegin(); game != now.cend(); ++game) {
        const auto old = was.constFind(game.key());
        if (old == was.cend() || old.value() == game.value())
            continue;
        gameData_->renameGame(emulatorName, game.key(), old.value(), game.value());
        launcher_->renameGame(emulatorName, game.key(), old.value(), game.value());
    }
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

QStringList Library::renameEmulator(const QString &from, const QString &to,
                                    SavesCollision collision)
{
    QStringList problems;
    const QDir dir(programDir_);
    const QString oldList = dir.filePath(RomListFileName(from));
    const QString newList = dir.filePath(RomListFileName(to));
    if (QFileInfo::exists(oldList) && !QFileInfo::exists(newList) &&
        !QFile::rename(oldList, newList))
        problems.append(CoreText::tr("%1 could not be renamed to %2.")
                            .arg(Quoted(QDir::toNativeSeparators(oldList)),
                                 Quoted(QFileInfo(newList).fileName())));
    problems += RenameSaves(programDir_, from, to, collision);
    gameData_->renameEmulator(from, to);
    launcher_->renameEmulator(from, to);
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
    if (slot < 1 || slot > GameCount() || Games.name(size_t(slot)).isEmpty())
        return {};
    const auto e = size_t(Games.emulator(size_t(slot)));
    return {e < listedEmulators_.size() ? listedEmulators_[e] : QString(),
            Games.name(size_t(slot)).toString(), Games.file(size_t(slot)).toString()};
}

int Library::slotOf(const GameKey &key) const
{
    if (key.isNull() || GameCount() == 0)
        return 0;
    const auto listedAs = [this, &key](int slot) {
        const auto e = size_t(Games.emulator(size_t(slot)));
        return Games.name(size_t(slot)) == key.name && Games.file(size_t(slot)) == key.file &&
               (e < listedEmulators_.size() ? listedEmulators_[e] : QString()) == key.emulator;
    };
    const size_t mask = slotTable_.empty() ? 0 : slotTable_.size() - 1;
    if (slotTable_.empty()) {
        // Twice as many places as games, the first of two alike kept: 8 bytes a game.
        size_t places = 2;
        while (places < size_t(GameCount()) * 2)
            places *= 2;
        slotTable_.assign(places, 0);
        for (int slot = 1; slot <= GameCount(); ++slot) {
            size_t at = qHash(keyOf(slot)) & (places - 1);
            while (slotTable_[at] != 0 && keyOf(slotTable_[at]) != keyOf(slot))
                at = (at + 1) & (places - 1);
            if (slotTable_[at] == 0)
                slotTable_[at] = slot;
        }
        return slotOf(key);
    }
    for (size_t at = qHash(key) & mask; slotTable_[at] != 0; at = (at + 1) & mask) {
        if (listedAs(slotTable_[at]))
            return slotTable_[at];
    }
    return 0;
}

int Library::findEmulator(const QString &name) const
{
    for (int e = 1; !name.isEmpty() && e <= EmulatorCount(); ++e) {
        if (emulator(e).Name == name)
            return e;
    }
    return 0;
}

int Library::emulatorOf(const GameKey &key) const
{
    const int slot = slotOf(key);
    const int own = slot != 0 ? Games.emulator(size_t(slot)) : 0;
    if (own >= 1 && own <= EmulatorCount() && emulator(own).Name == key.emulator)
        return own;
    return findEmulator(key.emulator);
}

QString Library::snapshotOf(const GameKey &key) const
{
    const int slot = slotOf(key);
    const int e = slot != 0 ? emulatorOf(key) : 0;
    if (e == 0)
        return {};
    const EmulatorPlaces places(emulator(e), programDir_);
    const QString own = places.directory().isEmpty()
                            ? QString()
                            : places.snapshotOf(Games.file(size_t(slot)).toString(),
                                                Games.name(size_t(slot)).toString());
    return own.isEmpty() ? metadata_->pictureOf(slot) : own;
}

} // namespace zanku
