#include "ui/common/Messages.h"

#include <QTextStream>

#include <utility>

namespace {
MessageHandler &currentHandler()
{
    static MessageHandler handler;
    return handler;
}
} // namespace

MessageAnswer ShowMessage(const QString &title, const QString &text, MessageButtons buttons)
{
    const MessageRequest request{title, text, buttons};
    if (const MessageHandler &handler = currentHandler())
        return handler(request);
    QTextStream(stderr) << title << ": " << text << Qt::endl;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}
