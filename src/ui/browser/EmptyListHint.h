#pragma once

#include <QObject>
#include <QStringList>

class QAbstractItemView;

// First-start guidance: while no emulator is configured and the game list is empty, the
// list itself says how to add an emulator and how to list its games, in its own font
// and a muted colour. It is painted under the rows, so it goes as soon as a game is
// listed and leaves every other text of the window as it is.
class EmptyListHint : public QObject {
    Q_OBJECT
public:
    // Paints on the view's viewport and lives as long as the view.
    explicit EmptyListHint(QAbstractItemView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool shown() const;
    QStringList lines() const;
    void paint() const;

    QAbstractItemView *view_;
};
