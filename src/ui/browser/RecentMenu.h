#pragma once

#include <QMenu>

namespace zanku {
class Library;
}

// File > "Recently Played": the last ten games launched that the catalogue still lists,
// newest first, each launching its game. Filled as it opens; greyed while none it would
// list is still listed.
class RecentMenu : public QMenu {
    Q_OBJECT
public:
    // A view of `library`, which must outlive it.
    RecentMenu(zanku::Library &library, QWidget *parent);

private:
    void refill();
    void grey();

    zanku::Library &library_;
};
