#pragma once

#include <QObject>
#include <QStringList>

class QAbstractItemView;

namespace zanku {
class Library;
}

// First-start guidance: while no emulator is configured, or no game of them is listed yet,
// the empty list itself says how to add an emulator and how to list its games, in its own font
// and a muted colour. When "Zanku.ini" is there but cannot be read it says that instead:
// the editor would refuse to save over it. It is painted under the rows, so it goes as soon as a
// game is listed and leaves every other text of the window as it is.
class EmptyListHint : public QObject {
    Q_OBJECT
public:
    // Paints on the view's viewport and lives as long as the view.
    EmptyListHint(QAbstractItemView *view, const zanku::Library &library);

    // What the list says now; empty while it shows games or an emulator is configured.
    QString text() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool shown() const;
    void paint() const;

    QAbstractItemView *view_;
    const zanku::Library &library_;
};
