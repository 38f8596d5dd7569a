#pragma once

#include "core/preview/Cover.h"
#include "core/records/GameKey.h"

#include <QImage>
#include <QObject>
#include <QSize>

#include <memory>

namespace zanku {

// Covers for a view of many tiles, loaded on worker threads so painting never waits: each
// found (FindCover), taken from the disk cache or read scaled (ReadPicture) and stored there,
// then kept in a bounded memory cache.
class CoverLoader : public QObject {
    Q_OBJECT
public:
    explicit CoverLoader(const QString &cacheFolder, QObject *parent = nullptr);
    // Queued work is dropped and running work waited for; no signal comes after.
    ~CoverLoader() override;

    struct Cover {
        bool ready = false; // false: not at hand yet, a load is queued; coverReady follows
        QImage image;       // ready and null: the game has no picture (draw a tile)
    };
    // For each visible tile at paint: the memory cache's answer (by key and bound), else a
    // load queued on a pool of QThread::idealThreadCount() workers. The most recently asked
    // load runs first, so the screen the player looks at now comes before what scrolled
    // away; a key asked again while queued or loading is not queued twice.
    Cover cover(const GameKey &key, const CoverPlace &place, const QSize &bound);
    // Loads not started yet are forgotten (the view scrolled far away).
    void dropQueued();
    // The memory cache emptied (the catalogue was read again, pictures may have changed);
    // loads running meanwhile are not kept.
    void clear();
    // The games found without a cover are looked for again at their next paint (other
    // pictures may name them now); the covers found stay.
    void forgetMissing();
    // The memory cache's bound in bytes (default 64 MiB); least recently used go first. Keep
    // it above a screenful: a cover that finds no room is loaded again at every paint.
    void setMemoryLimit(qint64 bytes);

signals:
    void coverReady(const zanku::GameKey &key); // on the loader's thread

private:
    struct Request;
    struct State;

    void startWorkers();
    void work();
    void deliver(const Request &request, const QImage &image);

    std::unique_ptr<State> state_;
};

} // namespace zanku
