#pragma once

#include <QString>

class QWidget;

enum class EPromptIcon
{
    Information,
    Exclamation,
    Stop,
};

// The answer Return gives to a question: Yes where Yes keeps the user's work (saving
// changes), No where Yes destroys something (deleting).
enum class EDefaultAnswer
{
    No,
    Yes,
};

// Every message and question of the records browser goes through one object, so the
// pages can be driven headless: tests answer the questions and keep the messages.
class MBrowserPrompts
{
public:
    virtual ~MBrowserPrompts() = default;
    // A message with an OK button. An empty caption means the program's title.
    virtual void Tell(EPromptIcon icon, const QString& caption, const QString& text,
                      QWidget* owner) = 0;
    // A Yes/No question; true for Yes. Questions that delete keep No as their default.
    virtual bool Ask(const QString& caption, const QString& text, QWidget* owner,
                     EDefaultAnswer byDefault = EDefaultAnswer::No) = 0;
};
