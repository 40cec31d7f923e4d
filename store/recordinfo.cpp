#include "store/recordinfo.h"

#include "store/slotkind.h"
#include "store/textcodec.h"

#include <QRegularExpression>

namespace RecordInfo {
namespace {

bool IsGroupLine(const QString& line)
{
    return line.contains(u'[') || line.contains(u']');
}

QString GroupName(const QString& line)
{
    return line.size() >= 2 ? line.mid(1, line.size() - 2) : QString();
}

void AddIfAbsent(QStringList& list, const QString& text)
{
    if (!list.contains(text))
        list.append(text);
}

// An entry as it goes into the block: one line, no surrounding spaces.
QString CleanEntry(const QString& text)
{
    QString clean = text;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
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

// The lines of the first group named `group` in the tags section; std::nullopt when the
// section has no such group.
std::optional<QStringList> FirstGroupTags(const QString& group, const QString& block)
{
    const QStringList lines = SectionLines(block, kTagsHeader);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!IsGroupLine(lines[i]) || GroupName(lines[i]) != group)
            continue;
        QStringList tags;
        for (qsizetype k = i + 1; k < lines.size() && !lines[k].startsWith(u'['); ++k)
            tags.append(lines[k]);
        return tags;
    }
    return std::nullopt;
}

bool SectionHasLine(const QString& text, const QString& block, const char* header)
{
    const QString wanted = text.trimmed();
    if (block.isEmpty())
        return false;
    return SectionLines(block, header).contains(wanted);
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
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]"));
    QStringList lines;
    const QString headerText = QLatin1String(header);
    const qsizetype at = block.indexOf(headerText);
    if (at < 0)
        return lines;
    const QString rest = block.mid(at + headerText.size());
    for (const QString& line : rest.split(lineBreaks, Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("[[")))
            break;
        lines.append(line);
    }
    return lines;
}

bool RecordHasContact(const QString& name, const QString& block)
{
    return SectionHasLine(name, block, kContactsHeader);
}

bool RecordHasTask(const QString& subject, const QString& block)
{
    return SectionHasLine(subject, block, kTasksHeader);
}

bool RecordHasTag(const QString& group, const QString& tag, const QString& block)
{
    if (block.isEmpty() || group.isEmpty() || tag.isEmpty())
        return false;
    const std::optional<QStringList> tags = FirstGroupTags(group, block);
    return tags && tags->contains(tag);
}

void ListRecordContacts(QStringList& list, const QString& block)
{
    for (const QString& line : SectionLines(block, kContactsHeader))
        AddIfAbsent(list, line.trimmed());
}

void ListRecordTask(QStringList& list, const QString& block,
                    const std::function<bool(const QString&)>& taskExistsInStore)
{
    const QStringList lines = SectionLines(block, kTasksHeader);
    if (lines.isEmpty() || lines.first().startsWith(u'['))
        return;
    const QString subject = lines.first().trimmed();
    if (list.contains(subject))
        return;
    if (taskExistsInStore && taskExistsInStore(subject))
        return;
    list.append(subject);
}

void ListRecordTagsOfGroup(QStringList& list, const QString& group, const QString& block)
{
    const std::optional<QStringList> tags = FirstGroupTags(group, block);
    if (!tags)
        return;
    for (const QString& tag : *tags)
        AddIfAbsent(list, tag);
}

void ListRecordGroups(QStringList& list, const QString& block)
{
    for (const QString& line : SectionLines(block, kTagsHeader)) {
        if (IsGroupLine(line))
            AddIfAbsent(list, GroupName(line));
    }
}

} // namespace RecordInfo
