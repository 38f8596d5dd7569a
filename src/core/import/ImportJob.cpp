#include "core/import/ImportJob.h"

struct ImportJob::Run {
    ImportScanControl control;
};

ImportJob::ImportJob(QObject *parent)
    : QObject(parent)
{
    progressTimer_.setInterval(50);
    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        if (run_ != nullptr)
            emit progress(run_->control.done.load(), run_->control.total.load());
    });
}

ImportJob::~ImportJob()
{
    stop();
}

void ImportJob::start(const EmulatorRecord &emulator, const QString &programDir,
                      const std::vector<GameRecord> &listed, const QStringList &emulatorNames)
{
    stop();
    auto run = std::make_shared<Run>();
    run_ = run;
    const quint64 generation = work_.restart();
    // What the scan learns is posted in the order learnt; the end comes last.
    work_.run([this, run, generation, emulator, programDir, listed, emulatorNames] {
        ImportScan scan(emulator, programDir, listed, run->control, emulatorNames);
        ImportScanResult result = scan.listNames();
        if (result.error.isEmpty() && !result.cancelled) {
            work_.post(generation, [this, names = result.candidates] { emit found(names); });
            result.cancelled = !scan.readArchives(result.candidates, [&](ImportReads &&reads) {
                work_.post(generation,
                           [this, reads = std::move(reads)] { emit archivesRead(reads); });
            });
        }
        work_.post(generation, [this, error = result.error, cancelled = result.cancelled] {
            ended(error, cancelled);
        });
    });
    progressTimer_.start();
}

void ImportJob::cancel()
{
    if (run_ != nullptr)
        run_->control.cancel = true;
}

void ImportJob::stop()
{
    if (run_ == nullptr)
        return;
    run_->control.cancel = true;
    work_.restart(); // what it would still tell is dropped
    run_.reset();
    progressTimer_.stop();
}

void ImportJob::ended(const QString &error, bool cancelled)
{
    run_.reset();
    progressTimer_.stop();
    emit finished(error, cancelled);
}
