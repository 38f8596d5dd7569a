#include "core/gamedata/PlayerChoices.h"

#include "core/files/RegularFile.h"
#include "core/files/TextFile.h"
#include "core/gamedata/PlayHistoryFile.h"

#include <QDir>

#include <algorithm>

namespace zanku {
namespace {

QByteArray escaped(const QString &text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescaped(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return QString::fromUtf8(out);
}

QByteArray lineOf(std::initializer_list<QByteArray> fields)
{
    QByteArray line;
    for (const QByteArray &field : fields) {
        if (!line.isEmpty())
            line += '\t';
        line += field;
    }
    return line + '\n';
}

QByteArray keyFields(const GameKey &game)
{
    return escaped(game.emulator) + '\t' + escaped(game.name) + '\t' + escaped(game.file);
}

// Games in a stable order, so that a save without a change writes the same bytes.
std::vector<GameKey> sorted(const QSet<GameKey> &games)
{
    std::vector<GameKey> keys(games.cbegin(), games.cend());
    std::sort(keys.begin(), keys.end(), [](const GameKey &a, const GameKey &b) {
        return std::tie(a.emulator, a.name, a.file) < std::tie(b.emulator, b.name, b.file);
    });
    return keys;
}

} // namespace

void PlayerChoices::State::renameKeys(const std::function<GameKey(const GameKey &)> &renamed)
{
    for (QSet<GameKey> &games : members) {
        QSet<GameKey> now;
        for (const GameKey &game : std::as_const(games))
            now.insert(renamed(game));
        games = std::move(now);
    }
    QHash<GameKey, QString> now;
    for (auto choice = launchWith.cbegin(); choice != launchWith.cend(); ++choice)
        now.insert(renamed(choice.key()), choice.value());
    launchWith = std::move(now);
}

PlayerChoices::State PlayerChoices::parseState(QByteArrayView content)
{
    State state;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        // A line ended by CR LF (the file edited on Windows) reads as one ended by LF.
        const qsizetype length =
            end > start && content[end - 1] == '\r' ? end - start - 1 : end - start;
        const QByteArrayView line = content.sliced(start, length);
        start = end + 1;
        if (line.isEmpty())
            continue;
        QList<QByteArrayView> fields;
        for (qsizetype from = 0;;) {
            const qsizetype tab = line.indexOf('\t', from);
            fields.append(line.sliced(from, (tab < 0 ? line.size() : tab) - from));
            if (tab < 0)
                break;
            from = tab + 1;
        }
        const auto text = [&](int i) { return unescaped(fields[i]); };
        const QByteArrayView kind = fields.first();
        if (kind == "collection" && fields.size() == 2 && !fields[1].isEmpty()) {
            if (!state.collections.contains(text(1)))
                state.collections.append(text(1));
        } else if (kind == "in" && fields.size() == 5 && !fields[1].isEmpty()) {
            if (!state.collections.contains(text(1)))
                state.collections.append(text(1));
            state.members[text(1)].insert({text(2), text(3), text(4)});
        } else if (kind == "with" && fields.size() == 5 && !fields[4].isEmpty()) {
            state.launchWith.insert({text(1), text(2), text(3)}, text(4));
        } else {
            state.unread.push_back(line.toByteArray());
        }
    }
    return state;
}

PlayerChoices PlayerChoices::parse(QByteArrayView content)
{
    PlayerChoices choices;
    choices.state_ = parseState(content);
    return choices;
}

QByteArray PlayerChoices::format() const
{
    QByteArray out;
    for (const QString &collection : state_.collections) {
        out += lineOf({"collection", escaped(collection)});
        for (const GameKey &game : sorted(state_.members.value(collection)))
            out += lineOf({"in", escaped(collection), keyFields(game)});
    }
    const QList<GameKey> keys = state_.launchWith.keys();
    for (const GameKey &game : sorted(QSet<GameKey>(keys.cbegin(), keys.cend())))
        out += lineOf({"with", keyFields(game), escaped(state_.launchWith.value(game))});
    for (const QByteArray &line : state_.unread)
        out += line + '\n';
    return out;
}

void PlayerChoices::load(const QString &programDir)
{
    path_ = QDir(programDir).filePath(QLatin1String(FileName));
    readError_.clear();
    pending_.clear();
    const RegularFileRead read = ReadRegularFile(path_, MaxFileSize);
    if (read.status != RegularFileRead::Read && read.status != RegularFileRead::Missing)
        readError_ = read.reason;
    state_ = read.ok() ? parseState(read.content) : State{};
}

bool PlayerChoices::save(QString *error)
{
    return history::SaveShared(path_, readError_, error, [this](QString &reason) {
        // What another Zanku saved since is kept: this program's operations go on top of it.
        const RegularFileRead read = ReadRegularFile(path_, MaxFileSize);
        if (read.status != RegularFileRead::Read && read.status != RegularFileRead::Missing) {
            reason = read.reason;
            return false;
        }
        PlayerChoices merged = parse(read.content);
        for (const Operation &operation : pending_)
            operation(merged.state_);
        const QByteArray content = merged.format();
        if (content != read.content || (!read.ok() && !content.isEmpty())) {
            const TextWriteResult written = WriteFileBytes(path_, content);
            if (!written.ok) {
                reason = written.error;
                return false;
            }
        }
        state_ = std::move(merged.state_);
        pending_.clear();
        return true;
    });
}

void PlayerChoices::apply(Operation operation)
{
    operation(state_);
    pending_.push_back(std::move(operation));
}

QString PlayerChoices::launchWith(const GameKey &game) const
{
    return state_.launchWith.value(game);
}

void PlayerChoices::setLaunchWith(const GameKey &game, const QString &emulator)
{
    apply([game, emulator](State &state) {
        if (emulator.isEmpty() || emulator == game.emulator)
            state.launchWith.remove(game);
        else
            state.launchWith.insert(game, emulator);
    });
}

QStringList PlayerChoices::collectionsOf(const GameKey &game) const
{
    QStringList of;
    for (const QString &collection : state_.collections) {
        if (contains(collection, game))
            of.append(collection);
    }
    return of;
}

bool PlayerChoices::contains(const QString &collection, const GameKey &game) const
{
    const auto members = state_.members.constFind(collection);
    return members != state_.members.cend() && members->contains(game);
}

void PlayerChoices::makeCollection(const QString &name)
{
    apply([name](State &state) {
        if (!name.isEmpty() && !state.collections.contains(name))
            state.collections.append(name);
    });
}

void PlayerChoices::add(const QString &collection, const GameKey &game)
{
    makeCollection(collection);
    apply([collection, game](State &state) {
        if (state.collections.contains(collection))
            state.members[collection].insert(game);
    });
}

void PlayerChoices::remove(const QString &collection, const GameKey &game)
{
    apply([collection, game](State &state) {
        if (const auto members = state.members.find(collection); members != state.members.end())
            members->remove(game);
    });
}

bool PlayerChoices::renameCollection(const QString &from, const QString &to)
{
    if (to.isEmpty() || !state_.collections.contains(from) || state_.collections.contains(to))
        return false;
    apply([from, to](State &state) {
        const qsizetype at = state.collections.indexOf(from);
        if (at < 0 || state.collections.contains(to))
            return; // another Zanku took the name meanwhile: its collection stays its own
        state.collections[at] = to;
        state.members[to] = state.members.take(from);
    });
    return true;
}

void PlayerChoices::deleteCollection(const QString &name)
{
    apply([name](State &state) {
        state.collections.removeAll(name);
        state.members.remove(name);
    });
}

void PlayerChoices::renameGame(const QString &emulator, const QString &file, const QString &from,
                               const QString &to)
{
    apply([=](State &state) {
        const GameKey old{emulator, from, file};
        state.renameKeys([&](const GameKey &game) {
            return game == old ? GameKey{emulator, to, file} : game;
        });
    });
}

void PlayerChoices::renameEmulator(const QString &from, const QString &to)
{
    apply([=](State &state) {
        state.renameKeys([&](const GameKey &game) {
            return game.emulator == from ? GameKey{to, game.name, game.file} : game;
        });
        for (QString &chosen : state.launchWith) {
            if (chosen == from)
                chosen = to;
        }
    });
}

void PlayerChoices::mergeFrom(const PlayerChoices &copy)
{
    for (const QString &collection : copy.collections()) {
        makeCollection(collection);
        for (const GameKey &game : copy.state_.members.value(collection))
            add(collection, game);
    }
    for (auto choice = copy.state_.launchWith.cbegin(); choice != copy.state_.launchWith.cend();
         ++choice) {
        if (launchWith(choice.key()).isEmpty())
            setLaunchWith(choice.key(), choice.value());
    }
}

} // namespace zanku
