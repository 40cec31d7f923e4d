#pragma once

#include <QString>

// The information editor's changes to a record's information block, shared by the editor
// window and the command line's "edit". Each works on the decoded text of one block, on whole
// lines inside their own section, as RecordInfoLines::Parse reads them for every reader too:
// a change is exactly what the readers see changed, and a value can never damage a line of
// another section that happens to contain the same text. Lines a change does not touch keep
// their bytes. A block that lacks a section gets its header at its end before an addition.
// Nothing here does I/O.
namespace RecordInfoEdit {

enum class EResult
{
    Done,       // changed, or already as asked (adding what the block holds)
    DoesNotFit, // the result would pass RecordInfo::kEditLimit bytes; the block is unchanged
    BadValue,   // the value is empty, or would not stay one entry line; the block is unchanged
    NotHeld,    // a removal of something the block does not hold; the block is unchanged
};

// The tag as the first tag of its group's first line; a group the block lacks is inserted,
// with the tag, after the "[[Tags]]" line and any tags that stand above every group line. The
// group and tag must be names the catalogue takes.
EResult AddTag(const QString& group, const QString& tag, QString& block);
// Removes the tag from every group line of that name.
EResult RemoveTag(const QString& group, const QString& tag, QString& block);

// The contact as the first line of the Contacts section (a held one stays where it is).
EResult AddContact(const QString& name, QString& block);
// Removes every Contacts line equal to the trimmed name.
EResult RemoveContact(const QString& name, QString& block);

// The subject as the first line of the Tasks section, which the browser lists the record
// under (a held one moves up there).
EResult AddTask(const QString& subject, QString& block);
// Removes every Tasks line equal to the trimmed subject, and nothing else.
EResult RemoveTask(const QString& subject, QString& block);
// Removes every Tasks line; Done also when there was none.
EResult ClearTasks(QString& block);
// The record's one task: every Tasks line gives way to the subject.
EResult SetTask(const QString& subject, QString& block);

// The block as it is saved: a group line of the Tags section with no tag under it is dropped;
// everything else stays as it stands.
QString TidyTags(const QString& block);

// The message of a refused change; empty for Done.
QString Message(EResult result);

} // namespace RecordInfoEdit
