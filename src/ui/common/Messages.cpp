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

namespace {
TextAsker &currentAsker()
{
    static TextAsker asker;
    return asker;
}
} // namespace

std::optional<QString> AskText(const QString &title, const QString &label, const QString &initial)
{
    if (const TextAsker &asker = currentAsker())
        return asker(title, label, initial);
    return std::nullopt;
}

TextAsker SetTextAsker(TextAsker asker)
{
    return std::exchange(currentAsker(), std::move(asker));
}
