#pragma once

#include "store/pimsource.h"

// Contacts and tasks that the test sets; every read returns them afresh. The test tells of a
// change by calling `handler`, as a source that follows its store would.
class CFakePimSource : public MPimSource
{
public:
    std::vector<SPimTask> Tasks() const override { return tasks; }
    std::vector<SPimContact> Contacts() const override { return contacts; }
    QString Problem() const override { return problem; }
    void SetChangeHandler(std::function<void()> changed) override { handler = std::move(changed); }

    std::vector<SPimTask> tasks;
    std::vector<SPimContact> contacts;
    QString problem;
    std::function<void()> handler;
};
