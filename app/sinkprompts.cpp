#include "app/sinkprompts.h"

#include "app/messagesink.h"

void CSinkPrompts::Tell(EPromptIcon icon, const QString& caption, const QString& text,
                        QWidget* owner)
{
    EMessageIcon sinkIcon = EMessageIcon::Information;
    if (icon == EPromptIcon::Exclamation)
        sinkIcon = EMessageIcon::Exclamation;
    else if (icon == EPromptIcon::Stop)
        sinkIcon = EMessageIcon::Stop;
    m_sink.Show(sinkIcon, caption.isEmpty() ? QStringLiteral("Parlantographer") : caption, text,
                owner);
}
