#pragma once

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <utility>

namespace zanku {

// Work done off its owner's thread, on a pool of workers, whose results are applied on the
// owner's thread. Each restart() begins a generation: a result of work started before it
// is dropped when it arrives, so what a newer request replaced is never shown, and work
// can ask whether it is stale to stop early. Kept as a member of its owner: destroyed, it
// waits for the work still running, and no result arrives after.
class BackgroundWork {
public:
    explicit BackgroundWork(QObject *owner, int workers = 1)
        : owner_(owner)
    {
        pool_.setMaxThreadCount(workers);
    }
    ~BackgroundWork() { stop(); }
    BackgroundWork(const BackgroundWork &) = delete;
    BackgroundWork &operator=(const BackgroundWork &) = delete;

    // Work not started yet is dropped, and the work running is waited for.
    void stop()
    {
        pool_.clear();
        pool_.waitForDone();
    }

    // Makes the results of all work started so far stale; the generation of what comes next.
    quint64 restart() { return ++generation_; }
    // The generation work started now belongs to. From any thread.
    quint64 generation() const { return generation_.load(); }
    int workers() const { return pool_.maxThreadCount(); }
    // Whether work of this generation was replaced since. From any thread.
    bool stale(quint64 generation) const { return generation != generation_.load(); }

    // Runs `work` on a worker, after the work started before it when there is one worker.
    template <typename Work> void run(Work &&work) { pool_.start(std::forward<Work>(work)); }

    // From a worker: `apply` runs on the owner's thread, after what was posted before it,
    // unless its generation is stale by then.
    template <typename Apply> void post(quint64 generation, Apply &&apply)
    {
        QMetaObject::invokeMethod(
            owner_,
            [this, generation, apply = std::forward<Apply>(apply)]() mutable {
                if (!stale(generation))
                    apply();
            },
            Qt::QueuedConnection);
    }

private:
    QObject *owner_;
    QThreadPool pool_;
    std::atomic<quint64> generation_{0};
};

} // namespace zanku
