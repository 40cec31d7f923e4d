#pragma once

#include "browser/messageboxprompts.h"

class MMessageSink;

// The browser's and the tag manager's messages go to the main screen's sink, so they are
// shown (or recorded) like every other message of the program; their questions are asked in
// a message box. A message without a caption takes the program's name.
class CSinkPrompts : public CMessageBoxPrompts
{
public:
    explicit CSinkPrompts(MMessageSink& sink) : m_sink(sink) {}
    void Tell(EPromptIcon icon, const QString& caption, const QString& text,
              QWidget* owner) override;

private:
    MMessageSink& m_sink;
};
