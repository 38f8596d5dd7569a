#include "ui/browser/EmptyListHint.h"

#include "core/catalogue/Config.h"
#include "core/library/Library.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

namespace {
const QString ImportCommand = QStringLiteral("Import Games...");

// "Options > command", kept together on one line when the guidance wraps.
QString MenuPath(const QString &command)
{
    QString path = QStringLiteral("Options > ") + command;
    return path.replace(QLatin1Char(' '), QChar(0x00A0));
}
} // namespace

EmptyListHint::EmptyListHint(QAbstractItemView *view, const zanku::Library &library)
    : QObject(view)
    , view_(view)
    , library_(library)
{
    view->viewport()->installEventFilter(this);
}

bool EmptyListHint::shown() const
{
    // Only while nothing is listed at all: a find or the favourites that show no row
    // leave the list blank.
    return (library_.EmulatorCount() == 0 || library_.GameCount() == 0) &&
           view_->model() != nullptr && view_->model()->rowCount() == 0;
}

QString EmptyListHint::text() const
{
    if (!shown())
        return {};
    if (!library_.configError().isEmpty()) {
        return QStringLiteral("%1 cannot be read: %2.\n\nPut it right or move it away, then "
                              "start Zanku again.")
            .arg(QLatin1String(ConfigFileName), library_.configError());
    }
    if (library_.EmulatorCount() != 0)
        return QStringLiteral("No games listed yet: list them with ") + MenuPath(ImportCommand) +
               QStringLiteral(" or ") + MenuPath("Edit Roms List");
    return QStringLiteral("No emulator yet: add one with ") + MenuPath("Emulator Config") +
           QStringLiteral("\n\nThen list its games with ") + MenuPath("Edit Roms List") +
           QStringLiteral(" or ") + MenuPath(ImportCommand);
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
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
}
