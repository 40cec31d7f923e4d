#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The record information block embedded in every record: the marker line, then the sections
// "[[Tags]]" (group lines "[group]", each followed by its tags), "[[Tasks]]" and "[[Contacts]]",
// every line ending with a line feed. On disk it fills a 1024-byte area: the UTF-8 text, then
// zero bytes. Limits count bytes of that text.
//
// The readers work on the decoded text (DecodeRecordInfo) and see its lines as
// RecordInfoLines::Parse does, as the editor's changes do (store/recordinfoedit.*): carriage
// returns and empty lines are accepted, and a missing section header gives an empty section.
// Nothing here does I/O.
namespace RecordInfo {

inline constexpr qsizetype kAreaSize = 1024;
// Composing refuses a line when the text so far plus the line would exceed this, so a composed
// text is at most kComposeLimit + 1 bytes (its last line feed) and three zero bytes follow.
inline constexpr qsizetype kComposeLimit = 1020;
inline constexpr qsizetype kMaxComposedBytes = 1021;
// Longest entry line in bytes (a tag, task or contact, or a group line).
inline constexpr qsizetype kMaxLineBytes = 259;
// Longest text the record information editor may produce by an addition.
inline constexpr qsizetype kEditLimit = 1022;

inline constexpr const char* kMarker = "*ParlantographerInfo*";
inline constexpr const char* kTagsHeader = "[[Tags]]";
inline constexpr const char* kTasksHeader = "[[Tasks]]";
inline constexpr const char* kContactsHeader = "[[Contacts]]";
// Shown when composing or an addition does not fit.
inline constexpr const char* kMsgDoesNotFit =
    QT_TRANSLATE_NOOP("RecordInfo", "Impossible to add this amount of information to the record.");

// One main-screen slot at the moment a recording starts. `kind` is "None", "Task", "Contacts",
// "Location" or a tag group's name; `selected[i]` says whether `items[i]` is selected (missing
// flags count as not selected).
struct SSlotSelection
{
    QString kind;
    QStringList items;
    QList<bool> selected;
    bool visible = true;
};

// The information area for a new recording: the kAreaSize bytes of the block composed from
// the visible slots whose kind is not "None" (tag groups in slot order, then tasks, then
// contacts; "Location" contributes nothing; a tag group without selected items writes no group
// line; entries are trimmed, empty ones skipped, line breaks inside become spaces, each line
// cut to kMaxLineBytes without splitting a character). std::nullopt when the text does not fit
// (see kComposeLimit): the recording must not start.
std::optional<QByteArray> ComposeRecordInfo(const QList<SSlotSelection>& selections);

// The text of an information area: up to its first zero byte, UTF-8 or else Windows-1252.
QString DecodeRecordInfo(QByteArrayView area);

// True when the area's text starts with the marker: the file is a record.
bool HasMarker(QByteArrayView area);

// `text` as a kAreaSize-byte area (UTF-8, zero-filled); std::nullopt when the text takes more
// than kAreaSize - 1 bytes, so that at least one zero byte always ends it.
std::optional<QByteArray> EncodeRecordInfo(const QString& text);

// The lines of a section (header kTagsHeader, kTasksHeader or kContactsHeader) of `block`,
// trimmed: for the Tags section its group lines and tags, for the others every entry.
QStringList SectionLines(const QString& block, const char* header);

// True when a line of the contacts section equals the trimmed name. Never for an empty block.
bool RecordHasContact(const QString& name, const QString& block);
// True when a line of the tasks section equals the trimmed subject. Never for an empty block.
bool RecordHasTask(const QString& subject, const QString& block);
// True when `tag` is listed under a group line named `group` (a group named on two lines, as
// two slots of one group give, has the tags of both). False when any argument is empty.
bool RecordHasTag(const QString& group, const QString& tag, const QString& block);
// The task the record is filed under: the first line of its Tasks section, unless it begins
// with "["; empty when there is none.
QString RecordTask(const QString& block);

// The List... readers add a text to `list` only when `list` does not hold it yet (exact
// comparison), at its end.

// Every contact line, trimmed.
void ListRecordContacts(QStringList& list, const QString& block);
// RecordTask, unless it is empty or a task with that subject still exists in the
// contacts-and-tasks store (`taskExistsInStore`).
void ListRecordTask(QStringList& list, const QString& block,
                    const std::function<bool(const QString&)>& taskExistsInStore);
// The tags under every group line named `group`.
void ListRecordTagsOfGroup(QStringList& list, const QString& group, const QString& block);
// Every group name of the tags section.
void ListRecordGroups(QStringList& list, const QString& block);

} // namespace RecordInfo
