#pragma once

#include <QString>

#include <functional>

// Every message box of the program goes through here, so the core needs no widgets
// and tests can answer the boxes instead of a player.

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

// A value from a file as a message shows it: at most 200 characters, a longer one cut
// and ended with "…", so that a huge name cannot stall the message box.
QString Quoted(const QString &value);

// Installs the handler that shows messages and returns the one it replaces. Without a
// handler, messages go to standard error and are answered Ok, or Cancel when asked.
MessageHandler SetMessageHandler(MessageHandler handler);
