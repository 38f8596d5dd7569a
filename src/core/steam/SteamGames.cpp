#include "core/steam/SteamGames.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/library/Library.h"
#include "core/preview/Cover.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace zanku {
namespace {
// A word as a POSIX shell reads it back whole: Steam hands the options to one.
QString shellWord(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    QString quoted = word;
    return u'\'' + quoted.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

QString doubleQuoted(const QString &path)
{
    return u'"' + path + u'"';
}
} // namespace

QStringList ZankuCommand()
{
    const QString flatpak = qEnvironmentVariable("FLATPAK_ID");
    if (!flatpak.isEmpty())
        return {QStringLiteral("flatpak"), QStringLiteral("run"), flatpak};
    const QString bundle = qEnvironmentVariable("ZANKU_BUNDLE");
    return {bundle.isEmpty() ? QCoreApplication::applicationFilePath() : bundle};
}

QList<SteamShortcut> SteamShortcutsFor(const Library &library, const QList<GameKey> &games,
                                       const QStringList &command)
{
    QList<SteamShortcut> shortcuts;
    for (const GameKey &key : games) {
        const int slot = library.slotOf(key);
        const int own = slot == 0 ? 0 : library.emulatorOf(key);
        if (own == 0)
            continue;
        QStringList options = command.mid(1);
        options << QStringLiteral("--library") << library.programDir() << QStringLiteral("--launch")
                << key.emulator << key.name;
        for (QString &option : options)
            option = shellWord(option);
        const EmulatorPlaces places(library.emulator(own), library.programDir());
        const CoverPlace pictures = places.coverPlaceOf(key.file, key.name);
        shortcuts.append({key.name, doubleQuoted(command.value(0)),
                          doubleQuoted(library.programDir()), options.join(u' '),
                          FindCover(pictures), FindTitleScreen(pictures), library.snapshotOf(key)});
    }
    return shortcuts;
}

} // namespace zanku
