#include "core/browse/DeferredOrder.h"

#include <mutex>
#include <numeric>

namespace zanku {

struct DeferredOrder::Rest {
    Rest(GenericSortKeys sortKeys, size_t rows, int added)
        : keys(std::move(sortKeys))
        , count(rows)
        , offset(added)
    {
    }

    std::vector<int> sortAll() const
    {
        std::vector<int> order(count);
        std::iota(order.begin(), order.end(), 0);
        keys.sort(order.begin(), order.end());
        for (int &number : order)
            number += offset;
        return order;
    }

    const GenericSortKeys keys;
    const size_t count;
    const int offset;
    std::mutex mutex;
    std::vector<int> sorted; // the worker's order; empty until it is done
};

DeferredOrder::DeferredOrder(QObject *parent)
    : QObject(parent)
{
}

DeferredOrder::~DeferredOrder()
{
    // While this is still whole: the worker posts to it.
    work_.stop();
}

std::vector<int> DeferredOrder::begin(GenericSortKeys keys, size_t count, int offset)
{
    rest_.reset();
    sorting_ = false;
    work_.restart(); // a ready() of the list before is stale
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    if (count <= 4 * FirstRows) {
        keys.sort(order.begin(), order.end());
    } else {
        keys.sortFirst(order.begin(), order.begin() + qsizetype(FirstRows), order.end());
        rest_ = std::make_shared<Rest>(std::move(keys), count, offset);
    }
    for (int &number : order)
        number += offset;
    return order;
}

void DeferredOrder::sortRest()
{
    if (rest_ == nullptr || std::exchange(sorting_, true))
        return;
    const quint64 generation = work_.generation();
    work_.run([this, rest = rest_, generation] {
        std::vector<int> order = rest->sortAll();
        {
            const std::lock_guard lock(rest->mutex);
            rest->sorted = std::move(order);
        }
        work_.post(generation, [this] { emit ready(); });
    });
}

std::vector<int> DeferredOrder::complete()
{
    if (rest_ == nullptr)
        return {};
    work_.stop(); // done, or dropped before it began
    work_.restart();
    const std::shared_ptr<Rest> rest = std::exchange(rest_, nullptr);
    sorting_ = false;
    std::vector<int> order;
    {
        const std::lock_guard lock(rest->mutex);
        order = std::move(rest->sorted);
    }
    return order.empty() ? rest->sortAll() : order;
}

} // namespace zanku
