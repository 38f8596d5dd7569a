#pragma once

#include <QWidget>

// The couch view's way to type without a keyboard: a row of letters and digits, a space,
// a rubout and "OK", one of them highlighted. Left and Right move the highlight (round the
// ends), Enter types the highlighted one; Esc gives up. Typed keys are taken as well, so a
// keyboard works here too.
class LetterRow : public QWidget {
    Q_OBJECT
public:
    explicit LetterRow(QWidget *parent);

    QSize sizeHint() const override;
    QString highlighted() const;

signals:
    void typed(const QString &text);
    void erased();
    void done();
    void cancelled();
    // Up, Down, Page Up or Page Down: for the list, which moves through what is found.
    void moveKey(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void choose();

    QStringList entries_;
    int at_ = 0;
};
