#pragma once

#include "ui/common/Messages.h"

#include <QList>
#include <QQueue>

// Answers the program's message boxes during a test and records them, so no modal box
// can ever hang a test. Answers are taken in order; when none is queued a box is
// answered Ok (or Cancel when it asks a question).
class ScriptedMessages {
public:
    ScriptedMessages()
    {
        previous_ = SetMessageHandler([this](const MessageRequest &request) {
            shown.append(request);
            if (!answers.isEmpty())
                return answers.dequeue();
            return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok
                                                         : MessageAnswer::Cancel;
        });
    }
    ~ScriptedMessages() { SetMessageHandler(previous_); }
    ScriptedMessages(const ScriptedMessages &) = delete;
    ScriptedMessages &operator=(const ScriptedMessages &) = delete;

    QStringList texts() const
    {
        QStringList result;
        for (const MessageRequest &request : shown)
            result.append(request.text);
        return result;
    }

    QList<MessageRequest> shown;
    QQueue<MessageAnswer> answers;

private:
    MessageHandler previous_;
};
