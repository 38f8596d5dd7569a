#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTranslator;

// The languages the player asked for, most wanted first; none under a C locale.
QStringList PlayerLanguages();

// The player's language for every text Zanku and Qt's own dialogs show: Zanku's
// translations come inside the program, Qt's from the system or from a `translations`
// folder beside the program (a portable bundle). Needs the application object; the
// translators stay installed while this lives.
class Translations {
public:
    // `languages` most wanted first, as QLocale::uiLanguages() gives them.
    explicit Translations(const QStringList &languages = PlayerLanguages());
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The language shown: "de", "es", or "en" where Zanku has no translation.
    QString language() const { return language_; }

private:
    void install(const QString &file, const QString &folder);

    QString language_ = QStringLiteral("en");
    std::vector<std::unique_ptr<QTranslator>> installed_;
};

// The languages Zanku is translated into, English first.
QStringList TranslatedLanguages();
