#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
const QString OwnFolder = QStringLiteral(":/i18n");
} // namespace

QStringList TranslatedLanguages()
{
    QStringList languages;
    for (const QString &file : QDir(OwnFolder).entryList({QStringLiteral("zanku_*.qm")}))
        languages.append(file.mid(6, file.size() - 9));
    languages.removeAll(QStringLiteral("en"));
    languages.prepend(QStringLiteral("en"));
    return languages;
}

QStringList PlayerLanguages()
{
    // A C locale for messages asks for the program's own texts, whatever LANGUAGE says, as
    // gettext does; otherwise Qt reads LANGUAGE, then LC_ALL, LC_MESSAGES and LANG.
    QString messages;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        messages = qEnvironmentVariable(name);
        if (!messages.isEmpty())
            break;
    }
    if (messages == QLatin1String("C") || messages.startsWith(QLatin1String("C.")) ||
        messages == QLatin1String("POSIX"))
        return {};
    return QLocale::system().uiLanguages();
}

Translations::Translations(const QStringList &languages)
{
    // English needs its plural forms too ("1 game"); the language found is searched first.
    install(QStringLiteral("zanku_en"), OwnFolder);
    const QStringList translated = TranslatedLanguages();
    // The first language of the player's list that Zanku speaks, "de-AT" read as "de".
    for (const QString &wanted : languages) {
        const QString language = wanted.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (translated.contains(language)) {
            language_ = language;
            break;
        }
    }
    if (language_ == QLatin1String("en"))
        return; // Qt's own texts are English already
    install(QStringLiteral("zanku_") + language_, OwnFolder);
    // Qt's dialogs in the same language: from a bundle's own copy first, else the system's.
    const QString qtFile = QStringLiteral("qtbase_") + language_;
    const QString bundled =
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    if (QFile::exists(bundled + u'/' + qtFile + QStringLiteral(".qm")))
        install(qtFile, bundled);
    else
        install(qtFile, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

Translations::~Translations()
{
    for (const auto &translator : installed_)
        QCoreApplication::removeTranslator(translator.get());
}

void Translations::install(const QString &file, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(file, folder) && QCoreApplication::installTranslator(translator.get()))
        installed_.push_back(std::move(translator));
}
