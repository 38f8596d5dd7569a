#include "core/gamedata/PlayHistorySave.h"
#include "core/gamedata/PlayHistoryLine.h"

namespace zanku {

PlayHistorySave::PlayHistorySave(const PlayHistory &history)
    : from_(history)
    , taken_(history.changes_)
    , renamesTaken_(history.renames_.size())
{
    work_.path_ = history.path_;
    work_.readError_ = history.readError_;
    work_.changes_ = history.changes_;
    work_.renames_ = history.renames_;
}

void PlayHistorySave::run()
{
    // The copy is made here, not on the history's thread: 200,000 games are megabytes.
    work_.index_ = from_.index_;
    ok_ = work_.save(&error_);
}

bool PlayHistory::finishSave(PlayHistorySave &save, QString *error)
{
    if (!save.ok_) {
        if (error != nullptr)
            *error = save.error_;
        return false; // everything changed stays to be saved
    }
    index_ = std::move(save.work_.index_);
    // What the save wrote is in the file now: only what changed since stays a change.
    std::vector<Change> left;
    changeIndex_.clear();
    for (size_t at = 0; at < changes_.size(); ++at) {
        Change change = std::move(changes_[at]);
        if (at < save.taken_.size())
            change.forget(save.taken_[at]);
        if (change.isEmpty())
            continue;
        changeIndex_.insert(history::keyOf(change.key), left.size());
        left.push_back(std::move(change));
    }
    changes_ = std::move(left);
    renames_.erase(renames_.begin(), renames_.begin() + qsizetype(save.renamesTaken_));
    renamed_ = resolve(index_);
    return true;
}

} // namespace zanku
