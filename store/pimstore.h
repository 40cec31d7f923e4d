#pragma once

#include "store/pimsource.h"

#include <QStringList>
#include <vector>

// The operations the screens use on the contacts-and-tasks source. Each call reads the
// source afresh. "Adding" a text to a list means: appended only when the list holds no
// item with exactly that text (case-sensitive).
class CPimStore
{
public:
    explicit CPimStore(const MPimSource& source) : m_source(source) {}

    // Every task subject, trimmed, that is not empty, once.
    QStringList FillTasks() const;
    // Every task subject, trimmed; an empty subject is listed too (once), so the list has
    // one row per distinct stored subject.
    QStringList ListStoreTasks() const;
    // Every contact text that is not empty, once.
    QStringList FillContacts() const;
    // True when a stored task's trimmed subject is the trimmed `subject`, ignoring case.
    // An ordering test would find a task that merely sorts after a deleted one.
    bool TaskExistsInStore(const QString& subject) const;
    // Every task whose trimmed subject is not empty, subject trimmed, with its date, in
    // source order; tasks with the same subject are all kept (their dates differ).
    std::vector<SPimTask> TasksWithDates() const;

    // The contact's text: the non-empty name parts (given, additional, family), each
    // trimmed, joined with single spaces.
    static QString ContactText(const SPimContact& contact);

private:
    const MPimSource& m_source;
};
