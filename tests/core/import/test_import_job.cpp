// The import's scan in the background: once replaced, by a restart or a stop, a scan tells
// nothing more, and a scan started after a cancel runs whole. Real folders in a temporary
// directory.

#include "core/import/ImportJob.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class ImportJobTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheLatestScanIsHeard_data()
    {
        QTest::addColumn<QStringList>("steps"); // an emulator's name starts its scan
        QTest::newRow("restarted") << QStringList{"A", "B"};
        QTest::newRow("cancelled, then started") << QStringList{"A", "cancel", "B"};
        QTest::newRow("stopped, then started") << QStringList{"A", "stop", "B"};
    }
    void onlyTheLatestScanIsHeard()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir dir;
        const QDir root(dir.path());
        for (const char *file : {"A/a1.nes", "A/a2.nes", "B/b.nes"}) {
            QVERIFY(root.mkpath(QFileInfo(QString(file)).path()));
            QFile made(root.filePath(file));
            QVERIFY(made.open(QIODevice::WriteOnly));
        }
        ImportJob job;
        QStringList heard;
        connect(&job, &ImportJob::found, this, [&](const std::vector<ImportCandidate> &names) {
            QStringList files;
            for (const ImportCandidate &candidate : names)
                files << candidate.file;
            heard << "found " + files.join(',');
        });
        connect(&job, &ImportJob::finished, this, [&](const QString &error, bool cancelled) {
            heard << "finished " + error + (cancelled ? "cancelled" : "");
        });
        QSignalSpy finished(&job, &ImportJob::finished);
        for (const QString &step : steps) {
            if (step == "cancel")
                job.cancel();
            else if (step == "stop")
                job.stop();
            else
                job.start({step, {}, root.filePath(step), {}, {}, {}}, root.path(), {}, {});
        }
        QVERIFY(finished.wait(10000));
        // Whatever the first scan posted came before the second's end.
        QCOMPARE(heard, QStringList({"found b.nes", "finished "}));
        QVERIFY(!job.running());
    }
};

QTEST_GUILESS_MAIN(ImportJobTest)
#include "test_import_job.moc"
