#include "ui/couch/LetterRow.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
const QString Space = QStringLiteral("\u2423");
const QString Rubout = QStringLiteral("\u232B");
} // namespace

LetterRow::LetterRow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Letters"));
    setFocusPolicy(Qt::StrongFocus);
    for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"))
        entries_ << QString(c);
    entries_ << Space << Rubout << tr("OK");
    hide();
}

QSize LetterRow::sizeHint() const
{
    return {fontMetrics().averageCharWidth() * 2 * int(entries_.size()),
            fontMetrics().height() * 3 / 2};
}

QString LetterRow::highlighted() const
{
    return entries_.at(at_);
}

void LetterRow::choose()
{
    const QString entry = highlighted();
    if (entry == Space)
        emit typed(QStringLiteral(" "));
    else if (entry == Rubout)
        emit erased();
    else if (at_ == entries_.size() - 1)
        emit done();
    else
        emit typed(entry.toLower());
}

void LetterRow::keyPressEvent(QKeyEvent *event)
{
    const int count = int(entries_.size());
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        at_ = (at_ + (event->key() == Qt::Key_Left ? count - 1 : 1)) % count;
        update();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        emit moveKey(event->key());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose();
        return;
    case Qt::Key_Escape:
        emit cancelled();
        return;
    case Qt::Key_Backspace:
        emit erased();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint())
        emit typed(text);
    else
        QWidget::keyPressEvent(event);
}

void LetterRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal width = qreal(this->width()) / qreal(entries_.size());
    for (int i = 0; i < entries_.size(); ++i) {
        const QRectF cell(i * width, 0, width, height());
        if (i == at_) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(palette().color(QPalette::Highlight));
            painter.drawRoundedRect(cell.adjusted(1, 1, -1, -1), 6, 6);
        }
        painter.setPen(
            palette().color(i == at_ ? QPalette::HighlightedText : QPalette::WindowText));
        painter.drawText(cell, Qt::AlignCenter, entries_.at(i));
    }
}
