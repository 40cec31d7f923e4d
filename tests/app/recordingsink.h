#pragma once

#include "app/messagesink.h"

#include <QStringList>
#include <functional>
#include <vector>

// Records the message boxes a window would show, so tests never block on one.
class CRecordingSink : public MMessageSink
{
public:
    struct SMessage
    {
        EMessageIcon icon;
        QString caption;
        QString text;
    };

    void Show(EMessageIcon icon, const QString& caption, const QString& text, QWidget*) override
    {
        messages.push_back({icon, caption, text});
        if (onShow)
            onShow(); // where a message box would run its own event loop
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const SMessage& message : messages)
            texts << message.text;
        return texts;
    }

    std::vector<SMessage> messages;
    std::function<void()> onShow;
};
