#include "core/import/ImportNames.h"

#include <algorithm>

namespace zanku {

// Sorts the candidates by File. The keys are made with the candidates, while their names
// are at hand: the sort then moves only the candidates, whose names it never reads.
void SortByFile(std::vector<ImportCandidate> &candidates, std::vector<SortKey> &keys)
{
    std::sort(keys.begin(), keys.end(), [&](const SortKey &x, const SortKey &y) {
        if (x.ascii && y.ascii) {
            if (x.high != y.high)
                return x.high < y.high;
            if (x.low != y.low)
                return x.low < y.low;
            if (x.whole && y.whole)
                return false;
        }
        return ImportFileBefore(candidates[x.index], candidates[y.index]);
    });
    std::vector<ImportCandidate> sorted;
    sorted.reserve(candidates.size());
    for (size_t i = 0; i < keys.size(); ++i) {
#if defined(__GNUC__)
        // The candidates are read out of order: ask for the next ones ahead of time.
        if (i + 8 < keys.size()) {
            const char *next = reinterpret_cast<const char *>(&candidates[keys[i + 8].index]);
            for (size_t line = 0; line < sizeof(ImportCandidate); line += 64)
                __builtin_prefetch(next + line);
        }
#endif
        sorted.push_back(std::move(candidates[keys[i].index]));
    }
    candidates = std::move(sorted);
}

} // namespace zanku
