#pragma once

// Stand-ins for what the records browser asks of the user and of the desktop, shared by the
// benchmarks that drive its pages: no prompt is shown and no contact or task is known.

#include "browser/browserprompts.h"
#include "store/pimsource.h"

#include <vector>

namespace Bench {

// Tells nothing and answers every question with the answer it is made with.
class CSilentPrompts : public MBrowserPrompts
{
public:
    explicit CSilentPrompts(bool answer) : m_answer(answer) {}
    void Tell(EPromptIcon, const QString&, const QString&, QWidget*) override {}
    bool Ask(const QString&, const QString&, QWidget*, EDefaultAnswer) override { return m_answer; }

private:
    bool m_answer;
};

class CNoPim : public MPimSource
{
public:
    std::vector<SPimTask> Tasks() const override { return {}; }
    std::vector<SPimContact> Contacts() const override { return {}; }
};

} // namespace Bench
