#include "store/recordinfoedit.h"

#include "store/namerules.h"
#include "store/recordinfo.h"
#include "store/textcodec.h"

#include <QCoreApplication>
#include <QStringList>

namespace RecordInfoEdit {
namespace {

// The block's lines as split at line feeds; joining them with line feeds gives the block
// back exactly. Comparisons ignore a carriage return at a line's end.
QString Bare(const QString& line)
{
    return line.endsWith(u'\r') ? line.chopped(1) : line;
}

bool IsGroupLine(const QString& line)
{
    return line.contains(u'[') || line.contains(u']');
}

qsizetype HeaderIndex(const QStringList& lines, const char* header)
{
    const QString wanted = QLatin1String(header);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (Bare(lines[i]) == wanted)
            return i;
    }
    return -1;
}

// The index after the last line of the section whose header is at `header`.
qsizetype SectionEnd(const QStringList& lines, qsizetype header)
{
    qsizetype end = header + 1;
    while (end < lines.size() && !Bare(lines[end]).startsWith(QLatin1String("[[")))
        ++end;
    return end;
}

// The header's index, the header appended at the end first when the block lacks it.
qsizetype EnsureHeader(QStringList& lines, const char* header)
{
    const qsizetype at = HeaderIndex(lines, header);
    if (at >= 0)
        return at;
    // Keep the block ending with a line feed when it did.
    const qsizetype insertAt =
        !lines.isEmpty() && lines.last().isEmpty() ? lines.size() - 1 : lines.size();
    lines.insert(insertAt, QLatin1String(header));
    if (insertAt == lines.size() - 1)
        lines.append(QString());
    return insertAt;
}

// The index of the first line in the section at `header` that `match` accepts, or -1.
template <typename Match>
qsizetype FindInSection(const QStringList& lines, qsizetype header, Match match)
{
    if (header < 0)
        return -1;
    const qsizetype end = SectionEnd(lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (match(Bare(lines[i])))
            return i;
    }
    return -1;
}

// The tag lines of the first group line named `group`: [first, end); first < 0 without one.
std::pair<qsizetype, qsizetype> GroupRange(const QStringList& lines, const QString& group)
{
    const qsizetype tags = HeaderIndex(lines, RecordInfo::kTagsHeader);
    const qsizetype groupLine = FindInSection(lines, tags, [&](const QString& line) {
        return IsGroupLine(line) && line.mid(1, line.size() - 2) == group;
    });
    if (groupLine < 0)
        return {-1, -1};
    const qsizetype sectionEnd = SectionEnd(lines, tags);
    qsizetype end = groupLine + 1;
    while (end < sectionEnd && !Bare(lines[end]).startsWith(u'['))
        ++end;
    return {groupLine + 1, end};
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

EResult Commit(const QStringList& lines, QString& block)
{
    const QString result = lines.join(u'\n');
    if (TextCodec::Encode(result).size() > RecordInfo::kEditLimit)
        return EResult::DoesNotFit;
    block = result;
    return EResult::Done;
}

EResult AddFirstInSection(const char* header, const QString& value, QString& block)
{
    const QString entry = value.trimmed();
    if (!IsEntry(entry))
        return EResult::BadValue;
    QStringList lines = block.split(u'\n');
    const qsizetype at = EnsureHeader(lines, header);
    if (FindInSection(lines, at, [&](const QString& line) { return line.trimmed() == entry; }) >= 0)
        return Commit(lines, block);
    lines.insert(at + 1, entry);
    return Commit(lines, block);
}

EResult RemoveFromSection(const char* header, const QString& value, QString& block)
{
    const QString entry = value.trimmed();
    QStringList lines = block.split(u'\n');
    const qsizetype at = FindInSection(lines, HeaderIndex(lines, header), [&](const QString& line) {
        return line.trimmed() == entry;
    });
    if (entry.isEmpty() || at < 0)
        return EResult::NotHeld;
    lines.removeAt(at);
    block = lines.join(u'\n');
    return EResult::Done;
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
    QStringList lines = block.split(u'\n');
    const qsizetype tagsHeader = EnsureHeader(lines, RecordInfo::kTagsHeader);
    const auto [first, end] = GroupRange(lines, group);
    if (first < 0) {
        lines.insert(tagsHeader + 1, name);
        lines.insert(tagsHeader + 1, u'[' + group + u']');
        return Commit(lines, block);
    }
    for (qsizetype i = first; i < end; ++i) {
        if (Bare(lines[i]) == name)
            return Commit(lines, block);
    }
    lines.insert(first, name);
    return Commit(lines, block);
}

EResult RemoveTag(const QString& group, const QString& tag, QString& block)
{
    QStringList lines = block.split(u'\n');
    const auto [first, end] = GroupRange(lines, group);
    for (qsizetype i = first; first >= 0 && i < end; ++i) {
        if (Bare(lines[i]) == tag) {
            lines.removeAt(i);
            block = lines.join(u'\n');
            return EResult::Done;
        }
    }
    return EResult::NotHeld;
}

EResult AddContact(const QString& name, QString& block)
{
    return AddFirstInSection(RecordInfo::kContactsHeader, name, block);
}

EResult RemoveContact(const QString& name, QString& block)
{
    return RemoveFromSection(RecordInfo::kContactsHeader, name, block);
}

EResult AddTask(const QString& subject, QString& block)
{
    return AddFirstInSection(RecordInfo::kTasksHeader, subject, block);
}

EResult RemoveTask(const QString& subject, QString& block)
{
    return RemoveFromSection(RecordInfo::kTasksHeader, subject, block);
}

EResult ClearTasks(QString& block)
{
    QStringList lines = block.split(u'\n');
    const qsizetype header = HeaderIndex(lines, RecordInfo::kTasksHeader);
    if (header < 0)
        return EResult::Done;
    // Empty lines inside the section are no tasks; they stay where they are.
    for (qsizetype i = SectionEnd(lines, header) - 1; i > header; --i) {
        if (!Bare(lines[i]).isEmpty())
            lines.removeAt(i);
    }
    block = lines.join(u'\n');
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
    QStringList lines = block.split(u'\n');
    const qsizetype header = HeaderIndex(lines, RecordInfo::kTagsHeader);
    if (header < 0)
        return block;
    const qsizetype end = SectionEnd(lines, header);
    // Walk backwards so that a group line knows whether a tag follows it.
    bool tagFollows = false;
    for (qsizetype i = end - 1; i > header; --i) {
        const QString line = Bare(lines[i]);
        if (line.isEmpty())
            continue;
        if (!IsGroupLine(line)) {
            tagFollows = true;
            continue;
        }
        if (!tagFollows)
            lines.removeAt(i);
        tagFollows = false;
    }
    return lines.join(u'\n');
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
