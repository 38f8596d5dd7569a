#pragma once

#include "core/common/BackgroundWork.h"
#include "core/import/ImportScan.h"

#include <QObject>
#include <QTimer>

#include <memory>

// The import's scan in the background, told on the owner's thread: every name at once
// (archives pending), then what the archives hold, in batches, then the end. Starting
// again or stopping drops all the replaced scan would still tell.
class ImportJob : public QObject {
    Q_OBJECT

public:
    explicit ImportJob(QObject *parent = nullptr);
    ~ImportJob() override; // the scan is stopped and waited for: no signal follows

    // Scans the emulator's folders as ScanForImport does, with the same arguments. A scan
    // under way is stopped first.
    void start(const EmulatorRecord &emulator, const QString &programDir,
               const std::vector<GameRecord> &listed, const QStringList &emulatorNames);
    // The scan stops at its next entry; finished() follows, cancelled.
    void cancel();
    // The scan stops, and nothing more is heard of it.
    void stop();
    bool running() const { return run_ != nullptr; }

signals:
    void found(const std::vector<ImportCandidate> &names); // sorted by File
    void archivesRead(const ImportReads &reads);
    void progress(int done, int total); // archives read of those pending, every 50 ms
    // `error`: the folders could not be read; `cancelled`: stopped by cancel().
    void finished(const QString &error, bool cancelled);

private:
    struct Run;
    void ended(const QString &error, bool cancelled);

    std::shared_ptr<Run> run_; // the scan under way, shared with its worker
    QTimer progressTimer_;
    zanku::BackgroundWork work_{this}; // last: destroyed first, waiting for the worker
};
