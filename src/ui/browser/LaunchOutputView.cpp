#include "ui/browser/LaunchOutputView.h"

#include "core/launch/LaunchLog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
// The log as text; a log grown past its bound by another Zanku is read to its last part.
QString readLog(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LaunchOutputView::tr("The output cannot be read: %1").arg(file.errorString());
    if (file.size() > 4 * zanku::LaunchLogMaxBytes)
        file.seek(file.size() - 4 * zanku::LaunchLogMaxBytes);
    return QString::fromUtf8(file.read(4 * zanku::LaunchLogMaxBytes));
}
} // namespace

LaunchOutputView::LaunchOutputView(const QString &emulator, const QString &log, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LaunchOutput"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Output of %1").arg(emulator));
    auto *text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("OutputText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setPlainText(readLog(log));
    text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    resize(720, 420);
}
