#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

// One task as the contacts-and-tasks source holds it. The subject is kept exactly as
// stored (surrounding spaces included): the listing operations trim it, while the
// existence test answers over the stored text as a store would.
struct SPimTask
{
    QString subject;
    // The due date, else the start date, in local time; invalid when the task has neither.
    QDateTime date;
};

// The three name parts of a contact in the order the contact text joins them.
struct SPimContact
{
    QString given;
    QString additional;
    QString family;
};

// Where contacts and tasks come from. A backend reads its data afresh on every call:
// the program keeps no copy of the store's data. A store that cannot be reached gives
// empty lists; it never throws.
class MPimSource
{
public:
    virtual ~MPimSource() = default;
    virtual std::vector<SPimTask> Tasks() const = 0;
    virtual std::vector<SPimContact> Contacts() const = 0;
};
