#include "ui/browser/LaunchFailureStrip.h"

#include "ui/browser/LaunchOutputView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

LaunchFailureStrip::LaunchFailureStrip(QWidget *parent)
    : QFrame(parent)
    , text_(new QLabel(this))
    , showOutput_(new QPushButton(tr("Show Output"), this))
    , close_(new QToolButton(this))
    , escape_(new QShortcut(QKeySequence(Qt::Key_Escape), parent->window()))
{
    setObjectName(QStringLiteral("LaunchFailure"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // The tooltips' pale yellow: a notice, not an error box.
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    text_->setTextFormat(Qt::PlainText); // names are shown as they are
    text_->setWordWrap(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    showOutput_->setObjectName(QStringLiteral("ShowOutput"));
    close_->setObjectName(QStringLiteral("CloseFailure"));
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setAutoRaise(true);
    close_->setToolTip(tr("Close"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    layout->addWidget(text_, 1);
    layout->addWidget(showOutput_);
    layout->addWidget(close_, 0, Qt::AlignTop);

    connect(showOutput_, &QPushButton::clicked, this, &LaunchFailureStrip::showOutput);
    connect(close_, &QToolButton::clicked, this, &QWidget::hide);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &QWidget::hide);
    hide();
}

QString LaunchFailureStrip::describe(const zanku::LaunchFailure &failure)
{
    QString text = failure.played ? tr("%1 ended with an error in %2: %3.")
                                  : tr("%1 did not start in %2: %3.");
    text = text.arg(failure.key.name, failure.emulator, failure.reason);
    if (!failure.lastLine.isEmpty())
        text += u'\n' + tr("It said: %1").arg(failure.lastLine);
    return text;
}

void LaunchFailureStrip::showFailure(const zanku::LaunchFailure &failure)
{
    text_->setText(describe(failure));
    log_ = failure.log;
    emulator_ = failure.emulator;
    showOutput_->setEnabled(!log_.isEmpty());
    if (parentWidget() != nullptr)
        placeIn(parentWidget()->rect());
    show();
    raise();
}

void LaunchFailureStrip::placeIn(const QRect &area)
{
    const int fitted = heightForWidth(area.width());
    const int height = fitted > 0 ? fitted : sizeHint().height();
    setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
}

QString LaunchFailureStrip::text() const
{
    return isHidden() ? QString() : text_->text();
}

void LaunchFailureStrip::showOutput()
{
    if (output_ != nullptr)
        output_->close();
    output_ = new LaunchOutputView(emulator_, log_, window());
    output_->show();
}

void LaunchFailureStrip::setVisible(bool visible)
{
    QFrame::setVisible(visible);
    escape_->setEnabled(visible);
}
