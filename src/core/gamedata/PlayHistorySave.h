#pragma once

#include "core/gamedata/PlayHistory.h"

#include <QString>

#include <vector>

namespace zanku {

// A save of a history run on another thread, so a launch or a star costs the window
// nothing however long the history: made on the history's thread with what changed so far,
// run() anywhere, then handed back to PlayHistory::finishSave on the history's thread. The
// history goes on being read and changed meanwhile; its file as last read must not change
// until the save is finished (no load, no other save).
class PlayHistorySave {
public:
    explicit PlayHistorySave(const PlayHistory &history);

    // Merges the changes taken into the file, under its lock, as PlayHistory::save does.
    void run();
    bool ok() const { return ok_; }
    const QString &error() const { return error_; }

private:
    friend class PlayHistory;

    const PlayHistory &from_; // its index is read by run(), never changed
    PlayHistory work_;        // the path, the changes and renames taken, the file as saved
    std::vector<PlayHistory::Change> taken_;
    size_t renamesTaken_ = 0;
    bool ok_ = false;
    QString error_;
};

} // namespace zanku
