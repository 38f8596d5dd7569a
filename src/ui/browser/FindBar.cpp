#include "ui/browser/FindBar.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>

FindBar::FindBar(QAbstractItemView *list)
    : QLineEdit(list->parentWidget())
    , list_(list)
{
    setObjectName(tr("Find"));
    setAccessibleName(tr("Find"));
    setPlaceholderText(tr("Find"));
    hide();
}

void FindBar::setList(QAbstractItemView *list)
{
    list_ = list;
    follow();
}

void FindBar::follow()
{
    const QRect area = list_->geometry();
    const int height = sizeHint().height();
    setGeometry(area.x(), area.bottom() + 1 - height, area.width(), height);
}

void FindBar::open(const QString &typed)
{
    // Its icon is a picture read from a file: the first find pays for it, not the start.
    setClearButtonEnabled(true);
    follow();
    show();
    raise();
    setFocus(Qt::ShortcutFocusReason);
    if (!typed.isEmpty())
        insert(typed);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The list moves as its own keys move it; the typing goes on here.
        QKeyEvent forwarded(event->type(), event->key(), event->modifiers());
        QCoreApplication::sendEvent(list_, &forwarded);
        emit moved();
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit launch();
        return;
    case Qt::Key_Escape:
        // Emptied without finding anew: closing brings every row back itself.
        blockSignals(true);
        clear();
        blockSignals(false);
        hide();
        emit closed();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}
