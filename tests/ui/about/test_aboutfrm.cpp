#include "ui/about/AboutFrm.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class AboutFrmTest : public QObject {
    Q_OBJECT
private slots:
    void showsTitleVersionAndAuthor();
    void okClosesTheBox();
};

void AboutFrmTest::showsTitleVersionAndAuthor()
{
    AboutFrm about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Zanku"));
    const auto text = [&](const char *name) {
        const QLabel *label = about.findChild<QLabel *>(name);
        return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
    };
    QCOMPARE(text("lblTitle"), QStringLiteral("Zanku"));
    QCOMPARE(text("lblVersion"), QStringLiteral("Version " ZANKU_VERSION)); // from the build
    QCOMPARE(text("lblDescription"),
             QStringLiteral("Zanku is a Front-End for multiple emulators."));
    QCOMPARE(text("Label2"), QStringLiteral("Created by:"));
    QCOMPARE(text("Label1"), QStringLiteral("Ervo Kallinder"));
    QCOMPARE(text("lblDisclaimer"),
             QStringLiteral("If you have bug report or suggestion please E-mail Me"));
    QVERIFY(!about.isModal());
}

void AboutFrmTest::okClosesTheBox()
{
    AboutFrm about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *ok = about.findChild<QPushButton *>("cmdOK");
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about.isVisible());

    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(AboutFrmTest)
#include "test_aboutfrm.moc"
