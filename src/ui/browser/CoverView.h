#pragma once

#include <QListView>

class CoverDelegate;
class GameListModel;
class QItemSelectionModel;

namespace zanku {
class GameFindModel;
class Library;
} // namespace zanku

// The games as tiles of their covers, in rows that fill the width: a view of the same
// rows and the same selection as the list, so order, filters and the chosen game are the
// list's own. Pictures are read on workers and shown as they come.
class CoverView : public QListView {
    Q_OBJECT
public:
    CoverView(zanku::GameFindModel &shown, QItemSelectionModel *selection,
              const zanku::Library &library, QWidget *parent);

    // Larger tiles, for a screen seen from afar.
    void setLarge(bool large);
    // Whether the last paint showed every tile's picture (none was still being read).
    bool complete() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void spread();

    GameListModel *games_ = nullptr;
    CoverDelegate *delegate_ = nullptr;
};
