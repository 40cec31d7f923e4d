#pragma once

#include "browser/browserprompts.h"

// The real prompts: modal message boxes.
class CMessageBoxPrompts : public MBrowserPrompts
{
public:
    void Tell(EPromptIcon icon, const QString& caption, const QString& text,
              QWidget* owner) override;
    bool Ask(const QString& caption, const QString& text, QWidget* owner,
             EDefaultAnswer byDefault) override;
};
