#include "store/recordinfo.h"

#include "store/recordinfolines.h"
#include "store/slotkind.h"
#include "store/textcodec.h"

namespace RecordInfo {
namespace {

void AddIfAbsent(QStringList& list, const QString& text)
{
    if (!list.contains(text))
        list.append(text);
}

// An entry as it goes into the block: one line (whatever would end a line for the readers
// becomes a space), no surrounding spaces.
QString CleanEntry(const QString& text)
{
    QString clean = text;
    for (QChar& c : clean) {
        if (RecordInfoLines::IsLineBreak(c))
            c = u' ';
    }
    return clean.trimmed();
}

QStringList SelectedEntries(const SSlotSelection& slot)
{
    QStringList entries;
    for (qsizetype i = 0; i < slot.items.size(); ++i) {
        if (!slot.selected.value(i, false))
            continue;
        const QString entry = CleanEntry(slot.items[i]);
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return entries;
}

// Appends one line as composing does; false when it would pass the limit.
bool AppendLine(QByteArray& text, const QString& line)
{
    const QByteArray bytes = TextCodec::EncodeTruncated(line, kMaxLineBytes);
    if (bytes.size() + text.size() > kComposeLimit)
        return false;
    text += bytes;
    text += '\n';
    return true;
}

using RecordInfoLines::ESection;

ESection SectionOf(const char* header)
{
    const QLatin1String text(header);
    if (text == QLatin1String(kTagsHeader))
        return ESection::Tags;
    if (text == QLatin1String(kTasksHeader))
        return ESection::Tasks;
    return text == QLatin1String(kContactsHeader) ? ESection::Contacts : ESection::None;
}

// The entries of a section, trimmed, in block order.
QStringList Entries(const QString& block, ESection section)
{
    QStringList entries;
    for (const RecordInfoLines::SLine& line : RecordInfoLines::Parse(block).lines) {
        if (line.section == section && line.kind == RecordInfoLines::EKind::Entry)
            entries.append(line.text.toString());
    }
    return entries;
}

// The tags of every group line named `group`, in block order.
QStringList GroupTags(const QString& group, const QString& block)
{
    QStringList tags;
    const RecordInfoLines::SParsed parsed = RecordInfoLines::Parse(block);
    for (const RecordInfoLines::SLine& line : parsed.lines) {
        if (line.IsTag() && parsed.GroupOf(line) == group)
            tags.append(line.text.toString());
    }
    return tags;
}

} // namespace

std::optional<QByteArray> ComposeRecordInfo(const QList<SSlotSelection>& selections)
{
    QStringList tagLines;
    QStringList taskLines;
    QStringList contactLines;
    for (const SSlotSelection& slot : selections) {
        const CSlotKind kind(CleanEntry(slot.kind));
        if (!slot.visible || kind.IsNone() || kind.IsLocation())
            continue;
        const QStringList entries = SelectedEntries(slot);
        if (kind.IsTask()) {
            taskLines += entries;
        } else if (kind.IsContacts()) {
            contactLines += entries;
        } else if (!entries.isEmpty()) {
            tagLines.append(u'[' + kind.GroupName() + u']');
            tagLines += entries;
        }
    }

    const QStringList lines = QStringList{QLatin1String(kMarker), QLatin1String(kTagsHeader)} +
                              tagLines + QStringList{QLatin1String(kTasksHeader)} + taskLines +
                              QStringList{QLatin1String(kContactsHeader)} + contactLines;
    QByteArray text;
    for (const QString& line : lines) {
        if (!AppendLine(text, line))
            return std::nullopt;
    }
    text.append(kAreaSize - text.size(), '\0');
    return text;
}

QString DecodeRecordInfo(QByteArrayView area)
{
    const qsizetype zero = area.indexOf('\0');
    return TextCodec::Decode(zero < 0 ? area : area.first(zero));
}

bool HasMarker(QByteArrayView area)
{
    return area.startsWith(QByteArrayView(kMarker));
}

std::optional<QByteArray> EncodeRecordInfo(const QString& text)
{
    QByteArray bytes = TextCodec::Encode(text);
    if (bytes.size() > kAreaSize - 1)
        return std::nullopt;
    bytes.append(kAreaSize - bytes.size(), '\0');
    return bytes;
}

QStringList SectionLines(const QString& block, const char* header)
{
    const ESection section = SectionOf(header);
    QStringList lines;
    for (const RecordInfoLines::SLine& line : RecordInfoLines::Parse(block).lines) {
        if (line.section == section && line.kind != RecordInfoLines::EKind::Header &&
            (section != ESection::Tags || line.kind == RecordInfoLines::EKind::Group ||
             line.IsTag()))
            lines.append(line.text.toString());
    }
    return lines;
}

bool RecordHasContact(const QString& name, const QString& block)
{
    return Entries(block, ESection::Contacts).contains(name.trimmed());
}

bool RecordHasTask(const QString& subject, const QString& block)
{
    return Entries(block, ESection::Tasks).contains(subject.trimmed());
}

bool RecordHasTag(const QString& group, const QString& tag, const QString& block)
{
    if (group.isEmpty() || tag.isEmpty())
        return false;
    return GroupTags(group, block).contains(tag);
}

void ListRecordContacts(QStringList& list, const QString& block)
{
    for (const QString& line : Entries(block, ESection::Contacts))
        AddIfAbsent(list, line);
}

QString RecordTask(const QString& block)
{
    const QStringList tasks = Entries(block, ESection::Tasks);
    return tasks.isEmpty() || tasks.first().startsWith(u'[') ? QString() : tasks.first();
}

void ListRecordTask(QStringList& list, const QString& block,
                    const std::function<bool(const QString&)>& taskExistsInStore)
{
    const QString subject = RecordTask(block);
    if (subject.isEmpty())
        return;
    if (list.contains(subject))
        return;
    if (taskExistsInStore && taskExistsInStore(subject))
        return;
    list.append(subject);
}

void ListRecordTagsOfGroup(QStringList& list, const QString& group, const QString& block)
{
    for (const QString& tag : GroupTags(group, block))
        AddIfAbsent(list, tag);
}

void ListRecordGroups(QStringList& list, const QString& block)
{
    for (const RecordInfoLines::SLine& line : RecordInfoLines::Parse(block).lines) {
        if (line.kind == RecordInfoLines::EKind::Group)
            AddIfAbsent(list, line.GroupName().toString());
    }
}

} // namespace RecordInfo
