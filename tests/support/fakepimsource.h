#pragma once

#include "store/pimsource.h"

// Contacts and tasks that the test sets; every read returns them afresh.
class CFakePimSource : public MPimSource
{
public:
    std::vector<SPimTask> Tasks() const override { return tasks; }
    std::vector<SPimContact> Contacts() const override { return contacts; }

    std::vector<SPimTask> tasks;
    std::vector<SPimContact> contacts;
};
