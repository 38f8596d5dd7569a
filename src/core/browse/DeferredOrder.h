#pragma once

#include "core/browse/SortKeys.h"
#include "core/common/BackgroundWork.h"

#include <QObject>

#include <memory>
#include <vector>

namespace zanku {

// Sorts a long list in two steps: its first screen at once, the rest on a worker once the
// list has been seen, so that a window of a million games paints without waiting for all
// of them to be sorted. Whoever needs the whole order before the worker is done takes it
// with complete(), which waits for the worker or sorts on the spot: no reader ever meets
// the rows out of order.
class DeferredOrder : public QObject {
    Q_OBJECT
public:
    // Enough rows for any screen. A list of up to four screens is sorted whole at once.
    static constexpr size_t FirstRows = 512;

    explicit DeferredOrder(QObject *parent = nullptr);
    ~DeferredOrder() override;

    // The numbers 0 to count - 1, each plus `offset`, ordered by the keys of those numbers:
    // all of them, or (pending() from now on) the first FirstRows and the rest in no order.
    // An order still pending is dropped.
    std::vector<int> begin(GenericSortKeys keys, size_t count, int offset);
    bool pending() const { return rest_ != nullptr; }
    // From now on the rest is sorted on a worker; ready() follows.
    void sortRest();
    // The whole order, when one is pending (none otherwise): the worker's, waited for, or
    // sorted here when it has not begun.
    std::vector<int> complete();

signals:
    // The worker is done: complete() returns at once.
    void ready();

private:
    struct Rest; // shared with the worker
    std::shared_ptr<Rest> rest_;
    bool sorting_ = false; // the worker has the rest
    BackgroundWork work_{this};
};

} // namespace zanku
