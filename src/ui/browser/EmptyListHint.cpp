#include "ui/browser/EmptyListHint.h"

#include "core/catalogue/Config.h"
#include "core/library/Library.h"
#include "ui/browser/GameMenu.h"
#include "ui/browser/MainFrm.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

namespace {
// "Options > command" as the menus name them, kept together on one line when the guidance
// wraps.
QString MenuPath(const QString &command)
{
    QString path = QStringLiteral("%1 > %2").arg(WithoutMnemonic(MainFrm::tr("&Options")),
                                                 WithoutMnemonic(command));
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
        return tr("%1 cannot be read: %2.\n\nPut it right or move it away, then "
                  "start Zanku again.")
            .arg(QLatin1String(ConfigFileName), library_.configError());
    }
    const QString import = MenuPath(MainFrm::tr("&Import Games..."));
    const QString roms = MenuPath(MainFrm::tr("Edit &Roms List"));
    if (library_.EmulatorCount() != 0)
        return tr("No games listed yet: list them with %1 or %2").arg(import, roms);
    return tr("No emulator yet: add one with %1\n\nThen list its games with %2 or %3")
        .arg(MenuPath(MainFrm::tr("&Emulator Config")), roms, import);
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
