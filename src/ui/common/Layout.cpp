#include "ui/common/Layout.h"

#include "ui/common/Twips.h"

#include <QWidget>

QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

void PlaceTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsRect(left, top, width, height));
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
