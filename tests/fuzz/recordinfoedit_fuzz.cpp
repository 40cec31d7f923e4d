// An edit of the information editor applied to an information block of any content: when the
// edit reports success, every reader (the lists and the browser's model) sees exactly that
// edit, after the block went through the bytes a record stores; when it refuses, the block is
// unchanged.
//
// Input: one byte choosing the edit, one byte giving the length of the value, the value, then
// the block's bytes.

#include "fuzzsupport.h"
#include "store/recordbrowser.h"
#include "store/recordinfo.h"
#include "store/recordinfoedit.h"
#include "store/textcodec.h"

#include <QString>
#include <QStringList>
#include <map>

namespace {

using RecordInfoEdit::EResult;
// Every group that carries a tag, with its distinct tags in block order.
using TagList = std::map<QString, QStringList>;

struct SView
{
    QString task;
    QStringList tasks;
    QStringList contacts;
    TagList tags;
    bool operator==(const SView&) const = default;
};

SView ReadWithTheLists(const QString& block)
{
    SView view{RecordInfo::RecordTask(block), {}, {}, {}};
    view.tasks = RecordInfo::SectionLines(block, RecordInfo::kTasksHeader);
    view.contacts = RecordInfo::SectionLines(block, RecordInfo::kContactsHeader);
    QStringList groups;
    RecordInfo::ListRecordGroups(groups, block);
    for (const QString& group : groups) {
        QStringList tags;
        RecordInfo::ListRecordTagsOfGroup(tags, group, block);
        if (!tags.isEmpty())
            view.tags[group] = tags;
    }
    return view;
}

// The same through the browser's model, from the stored bytes.
SView ReadWithTheBrowser(const QByteArray& area)
{
    const CRecordBrowser browser(
        RecordList{RecordEntry{"/nowhere/memo.wav", "memo.wav", 1024, area}});
    const SBrowsedRecord& record = browser.Record(0);
    SView view{record.task, record.tasks, record.contacts, {}};
    for (const SRecordTag& tag : record.tags) {
        QStringList& tags = view.tags[tag.group];
        if (!tags.contains(tag.tag))
            tags.append(tag.tag);
    }
    return view;
}

void DropEmptyGroups(TagList& tags)
{
    std::erase_if(tags, [](const auto& entry) { return entry.second.isEmpty(); });
}

QString FirstTask(const QStringList& tasks)
{
    return tasks.isEmpty() || tasks.first().startsWith(u'[') ? QString() : tasks.first();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int which = data[0] % 10;
    const std::size_t valueSize = std::min<std::size_t>(data[1], size - 2);
    const QString value = TextCodec::Decode(
        QByteArrayView(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(valueSize)));
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2 + valueSize),
                           static_cast<qsizetype>(size - 2 - valueSize));
    const QString before = RecordInfo::DecodeRecordInfo(bytes);
    // A group the catalogue could hold, chosen by the byte too, among names a block may carry.
    static const QString kGroups[] = {QStringLiteral("Priority"), QStringLiteral("P"),
                                      QStringLiteral("Tasks")};
    const QString& group = kGroups[data[0] / 10 % 3];
    const QString entry = value.trimmed();

    QString after = before;
    SView expected = ReadWithTheLists(before);
    EResult result = EResult::Done;
    switch (which) {
    case 0:
        result = RecordInfoEdit::AddTag(group, value, after);
        if (!expected.tags[group].contains(entry))
            expected.tags[group].prepend(entry);
        break;
    case 1:
        result = RecordInfoEdit::RemoveTag(group, value, after);
        expected.tags[group].removeAll(value);
        DropEmptyGroups(expected.tags);
        break;
    case 2:
        result = RecordInfoEdit::AddContact(value, after);
        if (!expected.contacts.contains(entry))
            expected.contacts.prepend(entry);
        break;
    case 3:
        result = RecordInfoEdit::RemoveContact(value, after);
        expected.contacts.removeAll(entry);
        break;
    case 4:
        result = RecordInfoEdit::AddTask(value, after);
        expected.tasks.removeAll(entry);
        expected.tasks.prepend(entry);
        break;
    case 5:
        result = RecordInfoEdit::RemoveTask(value, after);
        expected.tasks.removeAll(entry);
        break;
    case 6:
        result = RecordInfoEdit::SetTask(value, after);
        expected.tasks = QStringList{entry};
        break;
    case 7:
        result = RecordInfoEdit::ClearTasks(after);
        expected.tasks.clear();
        break;
    default:
        after = RecordInfoEdit::TidyTags(after);
        break;
    }
    expected.task = FirstTask(expected.tasks);

    if (result != EResult::Done) {
        if (after != before)
            fuzzsupport::Fail("a refused edit changed the block");
        return 0;
    }
    // Only what fits a record's area reaches one; the editor refuses the rest before writing.
    const std::optional<QByteArray> area = RecordInfo::EncodeRecordInfo(after);
    if (!area)
        return 0;
    const QString stored = RecordInfo::DecodeRecordInfo(*area);
    if (ReadWithTheLists(stored) != expected)
        fuzzsupport::Fail("the lists do not see exactly the edit");
    if (ReadWithTheBrowser(*area) != expected)
        fuzzsupport::Fail("the browser does not see exactly the edit");
    return 0;
}
