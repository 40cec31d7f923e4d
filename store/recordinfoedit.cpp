#include "store/recordinfoedit.h"

#include "store/namerules.h"
#include "store/recordinfo.h"
#include "store/recordinfolines.h"
#include "store/textcodec.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace RecordInfoEdit {
namespace {

using RecordInfoLines::EKind;
using RecordInfoLines::ESection;
using RecordInfoLines::SLine;
using RecordInfoLines::SParsed;

const char* HeaderOf(ESection section)
{
    switch (section) {
    case ESection::Tags:
        return RecordInfo::kTagsHeader;
    case ESection::Tasks:
        return RecordInfo::kTasksHeader;
    case ESection::Contacts:
        return RecordInfo::kContactsHeader;
    case ESection::None:
        break;
    }
    return "";
}

// An entry stays one line of its section: no control character, no "[" that would make it a
// group or section line, and not longer than an entry line.
bool IsEntry(const QString& value)
{
    return !value.isEmpty() &&
           NameRules::Check(NameRules::EKind::Tag, value) !=
               NameRules::EProblem::ControlCharacter &&
           !value.startsWith(u'[') && TextCodec::Encode(value).size() <= RecordInfo::kMaxLineBytes;
}

EResult Commit(const QString& result, QString& block)
{
    if (TextCodec::Encode(result).size() > RecordInfo::kEditLimit)
        return EResult::DoesNotFit;
    block = result;
    return EResult::Done;
}

// `text` with every line that `remove` picks taken out, line break and all. The lines keep
// their order and everything between them stays as it was.
template <typename Pick>
QString WithoutLines(const QString& text, const SParsed& parsed, Pick remove)
{
    QString kept;
    kept.reserve(text.size());
    qsizetype from = 0;
    for (const SLine& line : parsed.lines) {
        if (!remove(line))
            continue;
        kept += QStringView(text).mid(from, line.start - from);
        from = line.next;
    }
    kept += QStringView(text).mid(from);
    return kept;
}

// `text` with the lines `added` (each followed by a line feed) inserted where the next line
// would start after line `after`. A last line without a line break gets one first.
QString InsertAfter(const QString& text, const SLine& after, const QString& added)
{
    QString result = text;
    if (after.next == after.end)
        result.insert(after.end, u'\n' + added);
    else
        result.insert(after.next, added);
    return result;
}

// `text` with the section's header at its end when no line opens the section yet.
QString WithHeader(const QString& text, ESection section)
{
    if (RecordInfoLines::Parse(text).Opener(section) >= 0)
        return text;
    const bool broken = text.isEmpty() || RecordInfoLines::IsLineBreak(text.back());
    return text + (broken ? QString() : QStringLiteral("\n")) + QLatin1String(HeaderOf(section)) +
           u'\n';
}

template <typename Pick> bool AnyLine(const SParsed& parsed, Pick pick)
{
    return std::any_of(parsed.lines.begin(), parsed.lines.end(), pick);
}

bool IsEntryOf(const SLine& line, ESection section, const QString& value)
{
    return line.section == section && line.kind == EKind::Entry && line.text == value;
}

EResult AddFirstInSection(ESection section, const QString& value, QString& block)
{
    const QString entry = value.trimmed();
    if (!IsEntry(entry))
        return EResult::BadValue;
    if (AnyLine(RecordInfoLines::Parse(block),
                [&](const SLine& line) { return IsEntryOf(line, section, entry); }))
        return EResult::Done;
    const QString text = WithHeader(block, section);
    const SParsed parsed = RecordInfoLines::Parse(text);
    const SLine& header = parsed.lines[static_cast<std::size_t>(parsed.Opener(section))];
    return Commit(InsertAfter(text, header, entry + u'\n'), block);
}

EResult RemoveFromSection(ESection section, const QString& value, QString& block)
{
    const QString entry = value.trimmed();
    const SParsed parsed = RecordInfoLines::Parse(block);
    const auto held = [&](const SLine& line) {
        return IsEntryOf(line, section, entry);
    };
    if (entry.isEmpty() || !AnyLine(parsed, held))
        return EResult::NotHeld;
    block = WithoutLines(block, parsed, held);
    return EResult::Done;
}

// Where a new group goes in the Tags section: before its first group line, so that tags
// standing above every group line stay in no group; else after the section's last line.
const SLine* NewGroupPlace(const SParsed& parsed, bool& before)
{
    const qsizetype opener = parsed.Opener(ESection::Tags);
    const SLine* last = &parsed.lines[static_cast<std::size_t>(opener)];
    for (std::size_t i = static_cast<std::size_t>(opener) + 1; i < parsed.lines.size(); ++i) {
        const SLine& line = parsed.lines[i];
        if (line.section != ESection::Tags || line.kind == EKind::Header)
            break;
        if (line.kind == EKind::Group) {
            before = true;
            return &line;
        }
        last = &line;
    }
    before = false;
    return last;
}

} // namespace

EResult AddTag(const QString& group, const QString& tag, QString& block)
{
    const QString name = tag.trimmed();
    const NameRules::EProblem groupProblem = NameRules::Check(NameRules::EKind::Group, group);
    if (name.isEmpty() || group.isEmpty() || group != group.trimmed() ||
        NameRules::Check(NameRules::EKind::Tag, name) != NameRules::EProblem::None ||
        (groupProblem != NameRules::EProblem::None &&
         groupProblem != NameRules::EProblem::ReservedGroup))
        return EResult::BadValue;
    const QString text = WithHeader(block, ESection::Tags);
    const SParsed parsed = RecordInfoLines::Parse(text);
    if (AnyLine(parsed, [&](const SLine& line) {
            return line.IsTag() && line.text == name && parsed.GroupOf(line) == group;
        }))
        return EResult::Done;
    const auto groupLine =
        std::find_if(parsed.lines.begin(), parsed.lines.end(), [&](const SLine& line) {
            return line.kind == EKind::Group && line.GroupName() == group;
        });
    if (groupLine != parsed.lines.end())
        return Commit(InsertAfter(text, *groupLine, name + u'\n'), block);
    const QString added = u'[' + group + QStringLiteral("]\n") + name + u'\n';
    bool before = false;
    const SLine* place = NewGroupPlace(parsed, before);
    if (before) {
        QString result = text;
        result.insert(place->start, added);
        return Commit(result, block);
    }
    return Commit(InsertAfter(text, *place, added), block);
}

EResult RemoveTag(const QString& group, const QString& tag, QString& block)
{
    const SParsed parsed = RecordInfoLines::Parse(block);
    const auto held = [&](const SLine& line) {
        return line.IsTag() && line.text == tag && parsed.GroupOf(line) == group;
    };
    if (tag.isEmpty() || !AnyLine(parsed, held))
        return EResult::NotHeld;
    block = WithoutLines(block, parsed, held);
    return EResult::Done;
}

EResult AddContact(const QString& name, QString& block)
{
    return AddFirstInSection(ESection::Contacts, name, block);
}

EResult RemoveContact(const QString& name, QString& block)
{
    return RemoveFromSection(ESection::Contacts, name, block);
}

EResult AddTask(const QString& subject, QString& block)
{
    const QString entry = subject.trimmed();
    if (!IsEntry(entry))
        return EResult::BadValue;
    // The record is filed under its first task: one held further down moves up. A block that
    // already leads with it stays as it is, unless it holds the task twice (a damaged block's
    // line split by a control character): then the task is left once, first.
    QString changed = block;
    RemoveFromSection(ESection::Tasks, entry, changed);
    const EResult result = AddFirstInSection(ESection::Tasks, entry, changed);
    const bool leads = RecordInfo::RecordTask(block) == entry &&
                       RecordInfo::SectionLines(block, RecordInfo::kTasksHeader).count(entry) == 1;
    if (result == EResult::Done && !leads)
        block = changed;
    return result;
}

EResult RemoveTask(const QString& subject, QString& block)
{
    return RemoveFromSection(ESection::Tasks, subject, block);
}

EResult ClearTasks(QString& block)
{
    const SParsed parsed = RecordInfoLines::Parse(block);
    block = WithoutLines(block, parsed, [](const SLine& line) {
        return line.section == ESection::Tasks && line.kind == EKind::Entry;
    });
    return EResult::Done;
}

EResult SetTask(const QString& subject, QString& block)
{
    QString changed = block;
    ClearTasks(changed);
    const EResult result = AddTask(subject, changed);
    if (result == EResult::Done)
        block = changed;
    return result;
}

QString TidyTags(const QString& block)
{
    const SParsed parsed = RecordInfoLines::Parse(block);
    std::vector<char> hasTag(parsed.lines.size(), 0);
    for (const SLine& line : parsed.lines) {
        if (line.IsTag())
            hasTag[static_cast<std::size_t>(line.group)] = 1;
    }
    qsizetype index = -1;
    return WithoutLines(block, parsed, [&](const SLine& line) {
        ++index;
        return line.kind == EKind::Group && !hasTag[static_cast<std::size_t>(index)];
    });
}

QString Message(EResult result)
{
    switch (result) {
    case EResult::Done:
        return {};
    case EResult::DoesNotFit:
        return QCoreApplication::translate("RecordInfo", RecordInfo::kMsgDoesNotFit);
    case EResult::BadValue:
        return QCoreApplication::translate(
                   "RecordInfoEdit",
                   "This text can not be stored in a record: it must be one line, "
                   "not empty, not begin with '[', and at most %1 bytes long.")
            .arg(RecordInfo::kMaxLineBytes);
    case EResult::NotHeld:
        return QCoreApplication::translate("RecordInfoEdit",
                                           "The record does not hold this entry.");
    }
    return {};
}

} // namespace RecordInfoEdit
