#include "core/common/Messages.h"

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

QString Quoted(const QString &value)
{
    constexpr qsizetype MaxShown = 200;
    if (value.size() <= MaxShown)
        return value;
    qsizetype kept = MaxShown - 1;
    if (value.at(kept - 1).isHighSurrogate())
        --kept; // never half a character
    return value.left(kept) + QChar(0x2026);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}
