// Which of the import's candidates start checked: games, not what the emulator writes
// beside them.

#include "core/import/ImportPreCheck.h"

#include <QRegularExpression>

#include <algorithm>

namespace {
// After the last dot of the name, past any folder; lower case.
QString extensionOf(const QString &file)
{
    const qsizetype slash = std::max(file.lastIndexOf(u'/'), file.lastIndexOf(u'\\'));
    const qsizetype dot = file.lastIndexOf(u'.');
    return dot > slash + 1 ? file.mid(dot + 1).toLower() : QString();
}
} // namespace

QSet<QString> ListedExtensions(const std::vector<GameRecord> &listed)
{
    QSet<QString> extensions;
    for (const GameRecord &game : listed)
        extensions.insert(extensionOf(game.File));
    return extensions;
}

bool ImportPreChecked(const ImportCandidate &candidate, const QSet<QString> &listedExtensions)
{
    if (!candidate.problem.isEmpty() || candidate.pending)
        return false;
    if (candidate.kind == ImportKind::Folder) {
        static const QRegularExpression own(
            QStringLiteral("^(saves?|states?|screenshots?|snaps?|cheats|config|cfg|logs?|"
                           "shaders|nvram|sram|memcards?)$"),
            QRegularExpression::CaseInsensitiveOption);
        return !own.match(candidate.entry).hasMatch();
    }
    // Saves, states (".st0", ".state3", ".000"), configuration, logs, pictures, notes.
    static const QRegularExpression own(
        QStringLiteral("^(sav|srm|sra|fla|eep|eeprom|nv|nvram|rtc|mpk|mcr|dsv|state\\d*|st\\d|"
                       "ss\\d|\\d{3}|cfg|ini|conf|config|cht|png|jpe?g|bmp|gif|webp|tga|tiff?|"
                       "log|txt|nfo|bak)$"));
    const QString extension = extensionOf(candidate.file);
    if (own.match(extension).hasMatch())
        return false;
    // An .m3u stands for its discs: a game where they would be one.
    return listedExtensions.isEmpty() || listedExtensions.contains(extension) ||
           (!candidate.discs.isEmpty() &&
            listedExtensions.contains(extensionOf(candidate.discs.first())));
}
