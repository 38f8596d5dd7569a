#pragma once

#include "core/launch/LaunchFailure.h"

#include <QFrame>
#include <QPointer>

class QLabel;
class QPushButton;
class QShortcut;
class QToolButton;

// A launch that failed, said without holding anything up: a strip along the bottom of the
// window naming the game, the emulator, what ended it and the last line it printed, with
// "Show Output" (its log, read-only) and a close button. Esc, the close button or the next
// launch close it.
class LaunchFailureStrip : public QFrame {
    Q_OBJECT
public:
    explicit LaunchFailureStrip(QWidget *parent);

    void showFailure(const zanku::LaunchFailure &failure);
    // Its place at the bottom of `area`, as tall as its text needs.
    void placeIn(const QRect &area);
    QString text() const; // empty while it is closed

    void setVisible(bool visible) override;

    // What the strip says of a failure.
    static QString describe(const zanku::LaunchFailure &failure);

private:
    void showOutput();

    QLabel *text_;
    QPushButton *showOutput_;
    QToolButton *close_;
    QShortcut *escape_;
    QString log_;
    QString emulator_;
    QPointer<QWidget> output_;
};
