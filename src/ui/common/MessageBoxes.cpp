#include "ui/common/MessageBoxes.h"

#include "ui/common/Messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {
MessageAnswer showBox(const MessageRequest &request)
{
    QMessageBox box(QMessageBox::NoIcon, request.title, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}
} // namespace

void InstallMessageBoxes()
{
    SetMessageHandler(showBox);
    SetTextAsker([](const QString &title, const QString &label,
                    const QString &initial) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(QApplication::activeWindow(), title, label,
                                                   QLineEdit::Normal, initial, &ok);
        return ok ? std::optional<QString>(text) : std::nullopt;
    });
}
