#pragma once

#include "core/common/Quoted.h"

#include <QString>

#include <functional>
#include <optional>

// Every message box of the program goes through here, so tests can answer the boxes
// instead of a player.

enum class MessageButtons { Ok, YesNoCancel, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
};

using MessageHandler = std::function<MessageAnswer(const MessageRequest &)>;

// Shows a modal message and returns the player's answer.
MessageAnswer ShowMessage(const QString &title, const QString &text,
                          MessageButtons buttons = MessageButtons::Ok);

// Installs the handler that shows messages and returns the one it replaces. Without a
// handler, messages go to standard error and are answered Ok, or Cancel when asked.
MessageHandler SetMessageHandler(MessageHandler handler);

// Asks the player for a line of text (a name) in a modal box; nothing when cancelled.
// Without a handler nothing is asked and the answer is a cancel.
using TextAsker = std::function<std::optional<QString>(const QString &title, const QString &label,
                                                       const QString &initial)>;
std::optional<QString> AskText(const QString &title, const QString &label,
                               const QString &initial = {});
TextAsker SetTextAsker(TextAsker asker);
