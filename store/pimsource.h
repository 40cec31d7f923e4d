#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
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

// Where contacts and tasks come from. A backend answers every call with the store's data
// as it is now: it reads it afresh, or keeps a mirror that the store's own change notices
// keep current; the program keeps no other copy. A store that cannot be reached gives
// empty lists; it never throws.
class MPimSource
{
public:
    virtual ~MPimSource() = default;
    virtual std::vector<SPimTask> Tasks() const = 0;
    virtual std::vector<SPimContact> Contacts() const = 0;
    // Empty while every store the source reads answers; otherwise the text that tells the
    // user which could not be read and why.
    virtual QString Problem() const { return {}; }
    // A source whose store tells it of changes calls `handler` after each one, on a thread
    // of its own; the handler must only post work elsewhere. An empty handler stops the
    // calls, and once this returns none is running. A source that reads afresh on every
    // call has nothing to tell and ignores it.
    virtual void SetChangeHandler(std::function<void()> handler) { (void)handler; }
};
