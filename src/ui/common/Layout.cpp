#include "ui/common/Layout.h"

#include "ui/common/Twips.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

void PlaceTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsRect(left, top, width, height));
}

void CentreOverParent(QWidget *window)
{
    if (window->isVisible() || window->parentWidget() == nullptr)
        return;
    const QWidget *parent = window->parentWidget()->window();
    // Before its first show a window has no frame yet: it will get the parent's.
    const QRect parentFrame = parent->frameGeometry();
    const QSize frame = window->size() + parentFrame.size() - parent->geometry().size();
    QRect placed(QPoint(), frame);
    placed.moveCenter(parentFrame.center());
    const QRect screen = parent->screen()->availableGeometry();
    placed.moveLeft(
        std::max(std::min(placed.left(), screen.right() + 1 - frame.width()), screen.left()));
    placed.moveTop(
        std::max(std::min(placed.top(), screen.bottom() + 1 - frame.height()), screen.top()));
    window->move(placed.topLeft()); // a window's position is its frame's
}

QFont ArialFont(qreal points, bool bold, bool italic)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont TitleFont(qreal points)
{
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setStyleHint(QFont::Cursive);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void BringForward(QWidget *window)
{
    CentreOverParent(window);
    window->show();
    window->raise();
    window->activateWindow();
}
