#include "core/preview/CoverLoader.h"

#include "core/common/BackgroundWork.h"
#include "core/preview/PictureRead.h"
#include "core/preview/ThumbnailCache.h"

#include <QCache>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QThread>

#include <list>

namespace zanku {

namespace {
constexpr qint64 DefaultMemoryLimit = 64 * 1024 * 1024;
constexpr qint64 EntryOverhead = 256; // the key's texts and the cache's own node

// One game's cover at one size.
struct CoverId {
    GameKey key;
    QSize bound;
    friend bool operator==(const CoverId &, const CoverId &) = default;
};

size_t qHash(const CoverId &id, size_t seed = 0)
{
    return qHashMulti(seed, id.key, id.bound.width(), id.bound.height());
}

qint64 costOf(const QImage &image)
{
    return EntryOverhead + image.sizeInBytes();
}
} // namespace

struct CoverLoader::Request {
    CoverId id;
    CoverPlace place;
};

struct CoverLoader::State {
    State(const QString &cacheFolder, QObject *owner)
        : disk(cacheFolder)
        , work(owner, QThread::idealThreadCount())
    {
    }

    const ThumbnailCache disk;
    // Kept through clear(): a picture that changes is another version, read again.
    PictureFailures failures;
    QCache<CoverId, QImage> memory{DefaultMemoryLimit}; // the loader's thread only

    QMutex mutex;             // guards what follows, shared with the workers
    std::list<Request> queue; // the most recently asked first
    QHash<CoverId, std::list<Request>::iterator> queued;
    QSet<CoverId> loading;
    int workers = 0;
    bool stopping = false;
    // Last, so that it is the first to go: it waits for the workers while the rest is there.
    // A clear() begins a generation: the loads running meanwhile are stale.
    BackgroundWork work;
};

namespace {
// Runs on a worker: the cover found, from the disk cache or read and stored there, in the
// true-colour format ReadPicture gives, which painting is fastest with.
QImage loadCover(const ThumbnailCache &disk, PictureFailures &failures, const CoverPlace &place,
                 const QSize &bound)
{
    const QString picture = FindCover(place);
    if (picture.isEmpty())
        return {};
    QImage image = disk.find(picture, bound);
    if (image.isNull()) {
        image = ReadPicture(picture, bound, &failures);
        disk.store(picture, bound, image);
    }
    return image;
}
} // namespace

CoverLoader::CoverLoader(const QString &cacheFolder, QObject *parent)
    : QObject(parent)
    , state_(std::make_unique<State>(cacheFolder, this))
{
}

CoverLoader::~CoverLoader()
{
    {
        const QMutexLocker lock(&state_->mutex);
        state_->stopping = true;
        state_->queue.clear();
        state_->queued.clear();
    }
    state_->work.stop();
    // The results the workers posted meanwhile go with this object, undelivered.
}

CoverLoader::Cover CoverLoader::cover(const GameKey &key, const CoverPlace &place,
                                      const QSize &bound)
{
    const CoverId id{key, bound};
    if (const QImage *image = state_->memory.object(id))
        return {true, *image};
    {
        const QMutexLocker lock(&state_->mutex);
        if (state_->loading.contains(id))
            return {};
        const auto found = state_->queued.constFind(id);
        if (found != state_->queued.cend()) {
            state_->queue.splice(state_->queue.begin(), state_->queue, found.value());
        } else {
            state_->queue.push_front({id, place});
            state_->queued.insert(id, state_->queue.begin());
        }
    }
    startWorkers();
    return {};
}

void CoverLoader::startWorkers()
{
    const QMutexLocker lock(&state_->mutex);
    while (state_->workers < state_->work.workers() &&
           qsizetype(state_->queue.size()) > state_->workers) {
        ++state_->workers;
        state_->work.run([this] { work(); });
    }
}

void CoverLoader::work()
{
    for (;;) {
        Request request;
        quint64 generation = 0;
        {
            const QMutexLocker lock(&state_->mutex);
            if (state_->stopping || state_->queue.empty()) {
                --state_->workers;
                return;
            }
            state_->queued.remove(state_->queue.front().id);
            request = std::move(state_->queue.front());
            state_->queue.pop_front();
            state_->loading.insert(request.id);
            generation = state_->work.generation();
        }
        const QImage image =
            loadCover(state_->disk, state_->failures, request.place, request.id.bound);
        // One read before a clear() is dropped: the picture may have changed since.
        state_->work.post(generation, [this, request, image] { deliver(request, image); });
    }
}

void CoverLoader::deliver(const Request &request, const QImage &image)
{
    {
        const QMutexLocker lock(&state_->mutex);
        state_->loading.remove(request.id);
    }
    state_->memory.insert(request.id, new QImage(image), costOf(image)); // the cache owns it
    emit coverReady(request.id.key);
}

void CoverLoader::dropQueued()
{
    const QMutexLocker lock(&state_->mutex);
    state_->queue.clear();
    state_->queued.clear();
}

void CoverLoader::clear()
{
    state_->memory.clear();
    const QMutexLocker lock(&state_->mutex);
    state_->work.restart();
    state_->loading.clear();
}

void CoverLoader::forgetMissing()
{
    const QList<CoverId> ids = state_->memory.keys();
    for (const CoverId &id : ids) {
        if (const QImage *image = state_->memory.object(id); image != nullptr && image->isNull())
            state_->memory.remove(id);
    }
}

void CoverLoader::setMemoryLimit(qint64 bytes)
{
    state_->memory.setMaxCost(bytes);
}

} // namespace zanku
