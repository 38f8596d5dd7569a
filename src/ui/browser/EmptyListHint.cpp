#include "ui/browser/EmptyListHint.h"

#include "core/common/AppState.h"

#include <QAbstractItemView>
#include <QAction>
#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {
const QString ImportCommand = QStringLiteral("Import Games...");

// Whether the window offers this menu command (some builds have no import).
bool HasCommand(const QWidget *window, const QString &text)
{
    const QList<QAction *> actions = window->findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(), [&](const QAction *action) {
        return QString(action->text()).remove(QLatin1Char('&')) == text;
    });
}

// "Options > command", kept together on one line when the guidance wraps.
QString MenuPath(const QString &command)
{
    QString path = QStringLiteral("Options > ") + command;
    return path.replace(QLatin1Char(' '), QChar(0x00A0));
}
} // namespace

EmptyListHint::EmptyListHint(QAbstractItemView *view)
    : QObject(view)
    , view_(view)
{
    view->viewport()->installEventFilter(this);
}

bool EmptyListHint::shown() const
{
    return App().EmulatorCount == 0 && view_->model() != nullptr && view_->model()->rowCount() == 0;
}

QStringList EmptyListHint::lines() const
{
    QString games = QStringLiteral("Then list its games with ") + MenuPath("Edit Roms List");
    if (HasCommand(view_->window(), ImportCommand))
        games += QStringLiteral(" or ") + MenuPath(ImportCommand);
    return {QStringLiteral("No emulator yet: add one with ") + MenuPath("Emulator Config"), games};
}

bool EmptyListHint::eventFilter(QObject *watched, QEvent *event)
{
    // The viewport's background is already filled when its paint event arrives, and an
    // empty table draws nothing over what is painted here.
    if (watched == view_->viewport() && event->type() == QEvent::Paint && shown())
        paint();
    return QObject::eventFilter(watched, event);
}

void EmptyListHint::paint() const
{
    QWidget *viewport = view_->viewport();
    QPainter painter(viewport);
    painter.setFont(view_->font());
    painter.setPen(view_->palette().color(QPalette::PlaceholderText));
    const int margin = painter.fontMetrics().height();
    // Below where the first rows would be, so it never reads as a game.
    const QRect area = viewport->rect().adjusted(margin, viewport->height() / 3, -margin, -margin);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     lines().join(QStringLiteral("\n\n")));
}
