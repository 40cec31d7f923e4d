#include "store/recordbrowser.h"

#include "store/nativepath.h"
#include "store/recorddate.h"
#include "store/recordinfo.h"
#include "store/recordinfolines.h"
#include "store/recordorder.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <numeric>

namespace {

// Splits the decoded block once into the record's task, contact and tag lines, as every reader
// of the block sees them (RecordInfoLines).
void ParseInfo(SBrowsedRecord& record)
{
    using RecordInfoLines::EKind;
    using RecordInfoLines::ESection;
    const RecordInfoLines::SParsed parsed = RecordInfoLines::Parse(record.info);
    for (const RecordInfoLines::SLine& line : parsed.lines) {
        if (line.kind == EKind::Header)
            continue;
        switch (line.section) {
        case ESection::None:
            break;
        case ESection::Tasks:
            if (record.tasks.isEmpty() && !line.text.startsWith(u'['))
                record.task = line.text.toString();
            record.tasks.append(line.text.toString());
            break;
        case ESection::Contacts:
            record.contacts.append(line.text.toString());
            break;
        case ESection::Tags:
            if (line.kind == EKind::Group) {
                record.tagLines.append(line.text.toString());
            } else if (line.IsTag()) {
                record.tagLines.append(line.text.toString());
                record.tags.append(
                    SRecordTag{parsed.GroupOf(line).toString(), line.text.toString()});
            }
            break;
        }
    }
}

bool LessIgnoringCase(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

int CRecordBrowser::SFoldedIds::Find(const QString& text) const
{
    const auto found = exact.constFind(text);
    return found != exact.cend() ? found.value() : folded.value(text.toCaseFolded(), -1);
}

int CRecordBrowser::SFoldedIds::Intern(const QString& text, bool& added)
{
    added = false;
    if (const auto found = exact.constFind(text); found != exact.cend())
        return found.value();
    const QString key = text.toCaseFolded();
    int id = folded.value(key, -1);
    if (id < 0) {
        id = static_cast<int>(folded.size());
        folded.insert(key, id);
        added = true;
    }
    exact.insert(text, id);
    return id;
}

CRecordBrowser::CRecordBrowser(const RecordList& records)
{
    std::vector<RecordOrder::SKey> keys;
    keys.reserve(records.size());
    for (const RecordEntry& entry : records)
        keys.push_back(RecordOrder::Key(entry.fileName));
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return RecordOrder::Less(keys[a], keys[b]);
    });

    const QTimeZone zone = QTimeZone::systemTimeZone();
    m_records.resize(records.size());
    m_index.resize(records.size());
    m_pool.reserve(records.size() * 4);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const RecordEntry& entry = records[order[i]];
        SBrowsedRecord& record = m_records[i];
        record.path = entry.path;
        record.fileName = entry.fileName;
        record.recorded = RecordDate::Of(entry.fileName, entry.stamp, entry.samples, zone);
        record.day = record.recorded.isValid() ? record.recorded.date() : QDate();
        record.info = RecordInfo::DecodeRecordInfo(entry.info);
        ParseInfo(record);
        Index(keys[order[i]], record, m_index[i]);
    }
    SortTables();
}

CRecordBrowser::SRun CRecordBrowser::Distinct(qsizetype from)
{
    const auto begin = m_pool.begin() + from;
    std::sort(begin, m_pool.end());
    m_pool.erase(std::unique(begin, m_pool.end()), m_pool.end());
    return SRun{static_cast<int>(from), static_cast<int>(m_pool.size() - from)};
}

bool CRecordBrowser::RunHasAll(const SRun& run, const std::vector<int>& wanted) const
{
    const auto begin = m_pool.begin() + run.at;
    const auto end = begin + run.count;
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](int id) { return std::binary_search(begin, end, id); });
}

void CRecordBrowser::Index(const RecordOrder::SKey& key, const SBrowsedRecord& record,
                           SIndexed& indexed)
{
    indexed.dated = record.day.isValid();
    if (indexed.dated)
        indexed.day = key.dated ? key.day : record.day.toJulianDay();
    bool added = false;
    if (!record.task.isEmpty()) {
        indexed.task = m_taskIds.Intern(record.task, added);
        if (added)
            m_taskNames.append(record.task);
    }
    qsizetype length = record.fileName.size();
    std::size_t from = m_pool.size();
    for (const QString& line : record.tasks) {
        m_pool.push_back(m_taskLineIds.Intern(line, added));
        length += line.size() + 1;
    }
    indexed.taskLines = Distinct(static_cast<qsizetype>(from));
    from = m_pool.size();
    for (const QString& contact : record.contacts) {
        const int id = m_contactIds.Intern(contact, added);
        if (added)
            m_contactNames.append(contact);
        m_pool.push_back(id);
        length += contact.size() + 1;
    }
    indexed.contacts = Distinct(static_cast<qsizetype>(from));
    from = m_pool.size();
    for (const SRecordTag& tag : record.tags) {
        const auto found = m_tagIds.constFind(tag);
        int id = found != m_tagIds.cend() ? found.value() : -1;
        if (id < 0) {
            id = static_cast<int>(m_tags.size());
            m_tagIds.insert(tag, id);
            m_tags.append(tag);
        }
        m_pool.push_back(id);
        length += tag.tag.size() + 1;
    }
    indexed.tags = Distinct(static_cast<qsizetype>(from));

    QString search;
    search.reserve(length);
    search += record.fileName;
    for (const QStringList* lines : {&record.tasks, &record.contacts}) {
        for (const QString& line : *lines)
            search += u'\n' + line;
    }
    for (const SRecordTag& tag : record.tags)
        search += u'\n' + tag.tag;
    indexed.search = std::move(search).toCaseFolded();
}

void CRecordBrowser::SortTables()
{
    m_contactOrder.resize(static_cast<std::size_t>(m_contactNames.size()));
    std::iota(m_contactOrder.begin(), m_contactOrder.end(), 0);
    std::sort(m_contactOrder.begin(), m_contactOrder.end(),
              [&](int a, int b) { return LessIgnoringCase(m_contactNames[a], m_contactNames[b]); });
    m_tagOrder.resize(static_cast<std::size_t>(m_tags.size()));
    std::iota(m_tagOrder.begin(), m_tagOrder.end(), 0);
    std::sort(m_tagOrder.begin(), m_tagOrder.end(), [&](int a, int b) {
        const SRecordTag& x = m_tags[a];
        const SRecordTag& y = m_tags[b];
        if (x.group != y.group)
            return LessIgnoringCase(x.group, y.group);
        return LessIgnoringCase(x.tag, y.tag);
    });
}

const SBrowsedRecord& CRecordBrowser::Record(int index) const
{
    return m_records.at(static_cast<std::size_t>(index));
}

int CRecordBrowser::IndexOfPath(const std::filesystem::path& path) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].path == path)
            return static_cast<int>(i);
    }
    return -1;
}

bool CRecordBrowser::Passes(const SIndexed& indexed, const SRecordQuery& query,
                            const QString& search,
                            const std::optional<Period::SDayRange>& days) const
{
    switch (query.set) {
    case ERecordSet::All:
        break;
    case ERecordSet::WithTask:
        if (indexed.task < 0)
            return false;
        break;
    case ERecordSet::WithContacts:
        if (indexed.contacts.count == 0)
            return false;
        break;
    case ERecordSet::WithTags:
        if (indexed.tags.count == 0)
            return false;
        break;
    }
    if (days && (!indexed.dated || days->IsEmpty() || indexed.day < days->first.toJulianDay() ||
                 indexed.day > days->last.toJulianDay()))
        return false;
    return search.isEmpty() || indexed.search.contains(search);
}

std::vector<int> CRecordBrowser::Selectable(const SRecordQuery& query) const
{
    const QString search = query.search.trimmed().toCaseFolded();
    const std::optional<Period::SDayRange> days =
        Period::Days(query.period, query.today, query.custom);
    std::vector<int> indexes;
    for (std::size_t i = 0; i < m_index.size(); ++i) {
        if (Passes(m_index[i], query, search, days))
            indexes.push_back(static_cast<int>(i));
    }
    return indexes;
}

std::vector<int> CRecordBrowser::Records(const SRecordQuery& query) const
{
    // A text no record has matches no record (-1 is in no run).
    std::vector<int> taskLines;
    if (const QString task = query.task.trimmed(); !task.isEmpty())
        taskLines.push_back(m_taskLineIds.Find(task));
    std::vector<int> contacts;
    for (const QString& contact : query.contacts)
        contacts.push_back(m_contactIds.Find(contact.trimmed()));
    std::vector<int> tags;
    for (const SRecordTag& tag : query.tags)
        tags.push_back(m_tagIds.value(tag, -1));
    QSet<int> among;
    if (query.tasksAmong) {
        for (const QString& task : *query.tasksAmong)
            among.insert(m_taskIds.Find(task.trimmed()));
    }
    std::vector<int> indexes = Selectable(query);
    std::erase_if(indexes, [&](int i) {
        const SIndexed& indexed = m_index[static_cast<std::size_t>(i)];
        return !RunHasAll(indexed.taskLines, taskLines) || !RunHasAll(indexed.contacts, contacts) ||
               !RunHasAll(indexed.tags, tags) ||
               (query.tasksAmong && (indexed.task < 0 || !among.contains(indexed.task)));
    });
    return indexes;
}

QStringList CRecordBrowser::Contacts(const SRecordQuery& query) const
{
    std::vector<char> seen(static_cast<std::size_t>(m_contactNames.size()), 0);
    for (const int i : Selectable(query)) {
        const SRun& run = m_index[static_cast<std::size_t>(i)].contacts;
        for (int k = run.at; k < run.at + run.count; ++k)
            seen[static_cast<std::size_t>(m_pool[static_cast<std::size_t>(k)])] = 1;
    }
    QStringList contacts;
    for (const int id : m_contactOrder) {
        if (seen[static_cast<std::size_t>(id)])
            contacts.append(m_contactNames[id]);
    }
    return contacts;
}

QList<STagGroup> CRecordBrowser::TagGroups(const SRecordQuery& query) const
{
    std::vector<char> seen(static_cast<std::size_t>(m_tags.size()), 0);
    for (const int i : Selectable(query)) {
        const SRun& run = m_index[static_cast<std::size_t>(i)].tags;
        for (int k = run.at; k < run.at + run.count; ++k)
            seen[static_cast<std::size_t>(m_pool[static_cast<std::size_t>(k)])] = 1;
    }
    QList<STagGroup> groups;
    for (const int id : m_tagOrder) {
        if (!seen[static_cast<std::size_t>(id)])
            continue;
        const SRecordTag& tag = m_tags[id];
        if (groups.isEmpty() || groups.back().group != tag.group)
            groups.append(STagGroup{tag.group, {}});
        groups.back().tags.append(tag.tag);
    }
    return groups;
}

QStringList CRecordBrowser::RecordTasks(const SRecordQuery& query) const
{
    std::vector<char> seen(static_cast<std::size_t>(m_taskNames.size()), 0);
    QStringList tasks;
    for (const int i : Selectable(query)) {
        const int id = m_index[static_cast<std::size_t>(i)].task;
        if (id < 0 || seen[static_cast<std::size_t>(id)])
            continue;
        seen[static_cast<std::size_t>(id)] = 1;
        tasks.append(m_taskNames[id]);
    }
    return tasks;
}

QStringList CRecordBrowser::Tasks(const std::vector<SPimTask>& storeTasks, Period::EPeriod period,
                                  const QDate& today,
                                  const std::optional<Period::SDayRange>& custom) const
{
    std::vector<char> stored(static_cast<std::size_t>(m_taskNames.size()), 0);
    QSet<QString> added;
    QStringList tasks;
    for (const SPimTask& task : storeTasks) {
        const QString subject = task.subject.trimmed();
        if (subject.isEmpty())
            continue;
        const QString folded = subject.toCaseFolded();
        const int id = m_taskIds.Find(subject);
        if (id < 0)
            continue; // no record is listed under it
        stored[static_cast<std::size_t>(id)] = 1;
        const QDate day = task.date.isValid() ? task.date.date() : QDate();
        if (!added.contains(folded) && Period::Contains(period, today, day, custom)) {
            added.insert(folded);
            tasks.append(subject);
        }
    }
    if (Period::NeedsDate(period))
        return tasks; // a task only the records name has no date
    for (qsizetype id = 0; id < m_taskNames.size(); ++id) {
        if (!stored[static_cast<std::size_t>(id)])
            tasks.append(m_taskNames[id]);
    }
    return tasks;
}
