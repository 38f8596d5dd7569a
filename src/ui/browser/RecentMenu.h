#pragma once

#include <QMenu>

namespace zanku {
class Library;
}

// File > "Recently Played": the last ten games launched that the catalogue still lists,
// newest first, each launching its game. Filled as it opens; greyed while none it would
// list is still listed, as the File menu opens.
class RecentMenu : public QMenu {
    Q_OBJECT
public:
    // A view of `library`, which must outlive it, in the menu `parent`.
    RecentMenu(zanku::Library &library, QMenu *parent);

private:
    void refill();

    zanku::Library &library_;
    bool stale_ = true;
};
