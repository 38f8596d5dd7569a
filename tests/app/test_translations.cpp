// The player's language: Zanku's texts, Qt's own buttons and --help follow the locale;
// under a C locale every text reads as the English source.
#include "app/Translations.h"
#include "core/common/CoreText.h"
#include "core/gamedata/PlayHistory.h"
#include "ui/browser/MainFrm.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/Messages.h"
#include "ui/editor/OptionsFrm.h"

#include "ScriptedMessages.h"
#include "TestLibrary.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTranslator>

using List = QStringList;

// Every text asked of it comes back marked, so one that was never asked for stands out.
class PseudoTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return source && *source ? QStringLiteral("⟦%1⟧").arg(QString::fromUtf8(source))
                                 : QString();
    }
};

class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void windowReadsInTheLanguage_data();
    void windowReadsInTheLanguage();
    void everyVisibleTextIsTranslated();
    void helpFollowsTheEnvironment_data();
    void helpFollowsTheEnvironment();
};

namespace {
struct Library : TestLibrary {
    Library()
    {
        mkdir("emu");
        write("emu/a.bin");
        write("Arcade.rom", "Alpha=a.bin\r\n");
        QVERIFY(writeConfig({{"Arcade", "true", path("emu"), "%", "snaps", "zips"}}));
    }
    ScriptedMessages messages;
};

// The texts of a menu's items, and of its submenus' once opened; an item whose mnemonic
// another item of the same menu has already goes to `clashes`.
void menuTexts(const QList<QAction *> &actions, List &texts, List &clashes)
{
    QSet<QChar> keys;
    static const QRegularExpression mnemonic(QStringLiteral("&[^&]"));
    for (QAction *action : actions) {
        const qsizetype at = action->text().indexOf(mnemonic);
        const QChar key = at < 0 ? QChar() : action->text()[at + 1].toLower();
        if (!key.isNull() && std::exchange(keys, keys + QSet<QChar>{key}).contains(key))
            clashes << action->text();
        texts << action->text();
        if (QMenu *menu = action->menu()) {
            emit menu->aboutToShow();
            menuTexts(menu->actions(), texts, clashes);
        }
    }
}

// What a player reads in a window: its title, labels, buttons, frames, hints, tooltips
// and column titles, of the parts shown.
List windowTexts(QWidget *window)
{
    List texts{window->windowTitle(), window->toolTip()};
    for (QWidget *part : window->findChildren<QWidget *>()) {
        if (!part->isVisibleTo(window))
            continue;
        texts << part->toolTip();
        if (auto *label = qobject_cast<QLabel *>(part))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(part))
            texts << button->text();
        if (auto *frame = qobject_cast<QGroupBox *>(part))
            texts << frame->title();
        if (auto *field = qobject_cast<QLineEdit *>(part))
            texts << field->placeholderText();
        if (auto *titles = qobject_cast<QHeaderView *>(part); titles && titles->model())
            for (int column = 0; column < titles->model()->columnCount(); ++column)
                texts << titles->model()->headerData(column, titles->orientation()).toString();
    }
    return texts;
}

QMessageBox *openBox()
{
    return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
}
} // namespace

void TranslationsTest::windowReadsInTheLanguage_data()
{
    QTest::addColumn<List>("languages");
    QTest::addColumn<List>("menus");
    QTest::addColumn<List>("read"); // Launch, status, the box's title and buttons, a plural
    QTest::newRow("C: today's texts")
        << List{} << List{"&File", "&Options", "&Game", "&View", "&Help"}
        << List{"Launch Game", "Waiting for selection...",
                "Error",       "&Yes",
                "&No",         "Played 1 time, 0 min in all, last on 1 Dec 2026"};
    QTest::newRow("German")
        << List{"de-DE", "de"} << List{"&Datei", "&Optionen", "&Spiel", "&Ansicht", "&Hilfe"}
        << List{"Spiel starten", "Warte auf Auswahl...",
                "Fehler",        "&Ja",
                "&Nein",         "1-mal gespielt, insgesamt 0 Min., zuletzt am 1. Dez. 2026"};
    QTest::newRow("Spanish, asked second")
        << List{"fr-FR", "es-ES"} << List{"&Archivo", "&Opciones", "&Juego", "&Ver", "Ay&uda"}
        << List{"Iniciar juego", "Esperando una selección...",
                "Error",         "&Sí",
                "&No",           "Jugado 1 vez, 0 min en total, la última el 1 dic 2026"};
}

// The main window's menus, a message box with Qt's own buttons and the play history's
// plural and date read in the language asked for; no menu gives one key to two items.
void TranslationsTest::windowReadsInTheLanguage()
{
    QFETCH(List, languages);
    QFETCH(List, menus);
    QFETCH(List, read);
    const Translations translations(languages);
    QLocale::setDefault(languages.isEmpty() ? QLocale::c() : QLocale(languages.last()));
    Library library;
    MainFrm window(library.core);
    window.Form_Load();
    List titles, texts, clashes;
    for (QAction *menu : window.menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles, menus);
    menuTexts(window.menuBar()->actions(), texts, clashes);
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(", ")));
    List seen{window.findChild<QAbstractButton *>("Launch")->text(), window.statusText()};
    QTimer::singleShot(0, [&] {
        QMessageBox *box = openBox();
        seen << box->windowTitle() << box->button(QMessageBox::Yes)->text()
             << box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    InstallMessageBoxes(); // a real box, over the library's scripted answers
    ShowMessage(zanku::CoreText::tr("Error"), QStringLiteral("?"), MessageButtons::YesNo);
    zanku::PlayHistory::Game played;
    played.launches = 1;
    played.lastPlayed = QDateTime(QDate(2026, 12, 1), QTime(12, 0));
    seen << zanku::PlayHistory::describe(played);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(seen, read);
}

// Under a language that marks every text it is asked for, the main window, its menus and
// each window it opens show no text that was not asked for: names and paths aside.
void TranslationsTest::everyVisibleTextIsTranslated()
{
    PseudoTranslator marked;
    QCoreApplication::installTranslator(&marked);
    Library library;
    MainFrm window(library.core);
    window.Form_Load();
    window.show();
    List texts = windowTexts(&window), clashes;
    menuTexts(window.menuBar()->actions(), texts, clashes);
    for (const char *item : {"AboutM", "ImportM", "ENewM"})
        window.findChild<QAction *>(item)->trigger();
    for (QWidget *opened : QApplication::topLevelWidgets())
        if (opened != &window && opened->isVisible())
            texts << windowTexts(opened);
    auto *editor = window.editor();
    QTest::mouseClick(editor->findChild<QAbstractButton *>("Aggiungi"), Qt::LeftButton);
    QWidget *record = editor->findChild<QWidget *>("OptionsNewFrm");
    texts << windowTexts(record);
    QTest::mouseClick(record->findChild<QAbstractButton *>("DirT1"), Qt::LeftButton);
    texts << windowTexts(record->findChild<QWidget *>("DirFrm"));
    QCoreApplication::removeTranslator(&marked);
    const List names{"Zanku",       "Ervo Kallinder", "(ervo.kallinder@zanku.invalid)",
                     "*.nes *.zip", "Alpha",          "Arcade"};
    List untranslated;
    for (const QString &text : texts)
        if (text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))) && !text.contains(u'⟦') &&
            !names.contains(text) && !text.startsWith(u'/'))
            untranslated << text;
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(" | ")));
    QVERIFY(texts.contains("⟦Launch Game⟧") && texts.contains("⟦Choose Emulator Directory⟧"));
}

void TranslationsTest::helpFollowsTheEnvironment_data()
{
    QTest::addColumn<List>("environment");
    QTest::addColumn<QString>("first");
    QTest::newRow("C") << List{"LC_ALL=C"} << "Usage:";
    QTest::newRow("C over LANGUAGE") << List{"LC_ALL=C.UTF-8", "LANGUAGE=de"} << "Usage:";
    QTest::newRow("LANG") << List{"LANG=de_DE.UTF-8"} << "Aufruf:";
    QTest::newRow("LANGUAGE first") << List{"LANG=de_DE.UTF-8", "LANGUAGE=es:de"} << "Uso:";
    QTest::newRow("LC_MESSAGES over LANG")
        << List{"LANG=de_DE.UTF-8", "LC_MESSAGES=es_ES.UTF-8"} << "Uso:";
    QTest::newRow("no translation") << List{"LANG=fr_FR.UTF-8"} << "Usage:";
}

// The program itself, started as a player's desktop starts it.
void TranslationsTest::helpFollowsTheEnvironment()
{
    QFETCH(List, environment);
    QFETCH(QString, first);
    QProcessEnvironment settings = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        settings.remove(name);
    for (const QString &setting : environment)
        settings.insert(setting.section('=', 0, 0), setting.section('=', 1));
    QProcess zanku;
    zanku.setProcessEnvironment(settings);
    zanku.start(ZANKU_PROGRAM, {"--help"});
    QVERIFY(zanku.waitForFinished());
    QCOMPARE(QString::fromUtf8(zanku.readAllStandardOutput()).section(' ', 0, 0), first);
}

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
