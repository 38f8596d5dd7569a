#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "catalogue/TextFile.h"

#include <QTest>

class TextFileTest : public QObject {
    Q_OBJECT
private slots:
    void splitsEveryLineEnd_data();
    void splitsEveryLineEnd();
    void writesCrLfAfterEveryLine();
    void replacesTheWholeFile();
    void failedWriteKeepsTheOldFileAndSaysWhy();
    void readOnlyDirectoryKeepsTheOldFile();
};

void TextFileTest::splitsEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("last line without end") << QByteArray("a\r\nlast") << QStringList{"a", "last"};
    QTest::newRow("blank lines kept") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("cr cr lf is two ends") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
}

void TextFileTest::splitsEveryLineEnd()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    TestLibrary library;
    library.write("lines.txt", content);
    QCOMPARE(ReadTextLines(library.path("lines.txt")).lines, lines);
}

void TextFileTest::writesCrLfAfterEveryLine()
{
    TestLibrary library;
    QVERIFY(WriteTextLines(library.path("out.txt"), {"one", "", "three"}).ok);
    QCOMPARE(library.read("out.txt"), QByteArray("one\r\n\r\nthree\r\n"));
    QVERIFY(WriteTextLines(library.path("empty.txt"), {}).ok);
    QCOMPARE(library.read("empty.txt"), QByteArray());
}

void TextFileTest::replacesTheWholeFile()
{
    TestLibrary library;
    library.write("out.txt", "a much longer old content\r\nsecond\r\n");
    QVERIFY(WriteTextLines(library.path("out.txt"), {"new"}).ok);
    QCOMPARE(library.read("out.txt"), QByteArray("new\r\n"));
    // Nothing is left beside it.
    QCOMPARE(QDir(library.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
}

void TextFileTest::failedWriteKeepsTheOldFileAndSaysWhy()
{
    TestLibrary library;
    ScriptedMessages messages;
    // A folder where the file should be cannot be replaced by a file.
    library.write("Zanku.ini/inside", "old");
    QVERIFY(!SaveTextLines(library.path("Zanku.ini"), {"x"}));
    QCOMPARE(library.read("Zanku.ini/inside"), QByteArray("old"));
    // A directory that does not exist cannot take the file either.
    QVERIFY(!SaveTextLines(library.path("missing/dir/file.rom"), {"x"}));

    QCOMPARE(messages.shown.size(), 2);
    for (const MessageRequest &shown : std::as_const(messages.shown)) {
        QCOMPARE(shown.title, QStringLiteral("Error"));
        QVERIFY(!shown.text.isEmpty());
    }
    QVERIFY(messages.shown[0].text.contains(QDir::toNativeSeparators(library.path("Zanku.ini"))));
    QVERIFY(messages.shown[1].text.contains("file.rom"));
    QVERIFY(!QFileInfo::exists(library.path("missing")));
}

void TextFileTest::readOnlyDirectoryKeepsTheOldFile()
{
    TestLibrary library;
    library.write("locked/Zanku.ini", "[Old]\r\n");
    QFile::setPermissions(library.path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const bool canStillWrite = QFileInfo(library.path("locked")).isWritable();
    if (!canStillWrite) {
        const TextWriteResult result = WriteTextLines(library.path("locked/Zanku.ini"), {"new"});
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
    }
    QFile::setPermissions(library.path("locked"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite)
        QSKIP("permissions do not bind this user (running as root)");
    QCOMPARE(library.read("locked/Zanku.ini"), QByteArray("[Old]\r\n"));
}

QTEST_GUILESS_MAIN(TextFileTest)
#include "test_textfile.moc"
