#pragma once

#include <QLineEdit>

class QAbstractItemView;

// The one-line "Find" field over the lower edge of the game list, like a browser's find
// bar. It holds what the player types while finding a game; the keys that move through
// the list go to the list, Enter starts the highlighted game and Esc closes the field.
class FindBar : public QLineEdit {
    Q_OBJECT
public:
    // Lies over the bottom of `list`, hidden until opened.
    explicit FindBar(QAbstractItemView *list);

    // Shows the field with this text after what it holds (empty: as it is), focused.
    void open(const QString &typed = {});
    // Lays the field over the list's lower edge again (the list's width changed).
    void follow();
    // The view the field lies over and moves: the list or the covers.
    void setList(QAbstractItemView *list);

signals:
    void moved();  // Up, Down, Page Up or Page Down moved the list's highlight
    void launch(); // Enter
    void closed(); // Esc: the field is empty and hidden

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QAbstractItemView *list_;
};
