#include "store/recordbrowser.h"

#include "store/recorddate.h"
#include "store/recordinfo.h"
#include "store/recordorder.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <numeric>

namespace {

enum class ESection
{
    None,
    Tags,
    Tasks,
    Contacts,
};

// A group line names a tag group: "[Priority]".
bool IsGroupLine(QStringView line)
{
    return line.contains(u'[') || line.contains(u']');
}

QString GroupName(QStringView line)
{
    return line.size() >= 2 ? line.mid(1, line.size() - 2).toString() : QString();
}

// Splits the decoded block once into the record's task, contact and tag lines. Each section is
// taken from its first header only, up to the next line that begins with "[[", as the
// information readers do.
void ParseInfo(SBrowsedRecord& record)
{
    ESection section = ESection::None;
    bool seen[4] = {};
    QString group;
    bool inGroup = false;
    for (QStringView raw : QStringView(record.info).tokenize(u'\n')) {
        for (QStringView piece : raw.tokenize(u'\r')) {
            if (piece.isEmpty())
                continue;
            if (piece.startsWith(u"[[")) {
                ESection next = ESection::None;
                if (piece.startsWith(QLatin1String(RecordInfo::kTagsHeader)))
                    next = ESection::Tags;
                else if (piece.startsWith(QLatin1String(RecordInfo::kTasksHeader)))
                    next = ESection::Tasks;
                else if (piece.startsWith(QLatin1String(RecordInfo::kContactsHeader)))
                    next = ESection::Contacts;
                auto& wasSeen = seen[static_cast<int>(next)];
                section = next != ESection::None && !wasSeen ? next : ESection::None;
                wasSeen = true;
                continue;
            }
            const QString line = piece.trimmed().toString();
            if (line.isEmpty())
                continue;
            switch (section) {
            case ESection::None:
                break;
            case ESection::Tasks:
                if (record.tasks.isEmpty() && !line.startsWith(u'['))
                    record.task = line;
                record.tasks.append(line);
                break;
            case ESection::Contacts:
                record.contacts.append(line);
                break;
            case ESection::Tags:
                record.tagLines.append(line);
                if (IsGroupLine(line)) {
                    group = GroupName(line);
                    inGroup = true;
                } else if (inGroup) {
                    record.tags.append(SRecordTag{group, line});
                }
                break;
            }
        }
    }
}

QStringList Folded(const QStringList& texts)
{
    QStringList folded;
    folded.reserve(texts.size());
    for (const QString& text : texts)
        folded.append(text.toCaseFolded());
    return folded;
}

bool LessIgnoringCase(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

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

    m_records.reserve(records.size());
    m_index.reserve(records.size());
    for (const std::size_t at : order) {
        const RecordEntry& entry = records[at];
        const RecordOrder::SKey& key = keys[at];
        SBrowsedRecord record;
        record.path = entry.path;
        record.fileName = entry.fileName;
        record.recorded = RecordDate::OfRecord(entry.path);
        record.day = record.recorded.isValid() ? record.recorded.date() : QDate();
        record.info = RecordInfo::DecodeRecordInfo(entry.info);
        ParseInfo(record);

        SIndexed indexed;
        indexed.dated = record.day.isValid();
        indexed.day = key.dated ? key.day : (indexed.dated ? record.day.toJulianDay() : 0);
        indexed.task = record.task.toCaseFolded();
        indexed.tasks = Folded(record.tasks);
        indexed.contacts = Folded(record.contacts);
        QString search = record.fileName;
        for (const QString& list : {record.tasks.join(u'\n'), record.contacts.join(u'\n')})
            search += u'\n' + list;
        for (const SRecordTag& tag : record.tags)
            search += u'\n' + tag.tag;
        indexed.search = search.toCaseFolded();

        m_records.push_back(std::move(record));
        m_index.push_back(std::move(indexed));
    }
}

const SBrowsedRecord& CRecordBrowser::Record(int index) const
{
    return m_records.at(static_cast<std::size_t>(index));
}

int CRecordBrowser::IndexOfPath(const QString& path) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].path == path)
            return static_cast<int>(i);
    }
    return -1;
}

bool CRecordBrowser::InSet(int index, ERecordSet set) const
{
    const SBrowsedRecord& record = m_records[static_cast<std::size_t>(index)];
    switch (set) {
    case ERecordSet::All:
        return true;
    case ERecordSet::WithTask:
        return !record.task.isEmpty();
    case ERecordSet::WithContacts:
        return !record.contacts.isEmpty();
    case ERecordSet::WithTags:
        return !record.tags.isEmpty();
    }
    return false;
}

bool CRecordBrowser::Passes(int index, const SRecordQuery& query, const QString& search,
                            const std::optional<Period::SDayRange>& days) const
{
    const SIndexed& indexed = m_index[static_cast<std::size_t>(index)];
    if (!InSet(index, query.set))
        return false;
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
    for (int i = 0; i < Count(); ++i) {
        if (Passes(i, query, search, days))
            indexes.push_back(i);
    }
    return indexes;
}

std::vector<int> CRecordBrowser::Records(const SRecordQuery& query) const
{
    const QString task = query.task.trimmed().toCaseFolded();
    const QStringList contacts = Folded(query.contacts);
    std::vector<int> indexes = Selectable(query);
    std::erase_if(indexes, [&](int i) {
        const SIndexed& indexed = m_index[static_cast<std::size_t>(i)];
        if (!task.isEmpty() && !indexed.tasks.contains(task))
            return true;
        for (const QString& contact : contacts) {
            if (!indexed.contacts.contains(contact.trimmed()))
                return true;
        }
        const QList<SRecordTag>& tags = m_records[static_cast<std::size_t>(i)].tags;
        return std::any_of(query.tags.begin(), query.tags.end(),
                           [&](const SRecordTag& tag) { return !tags.contains(tag); });
    });
    return indexes;
}

QStringList CRecordBrowser::Contacts(const SRecordQuery& query) const
{
    QSet<QString> seen;
    QStringList contacts;
    for (const int i : Selectable(query)) {
        const SBrowsedRecord& record = m_records[static_cast<std::size_t>(i)];
        const SIndexed& indexed = m_index[static_cast<std::size_t>(i)];
        for (qsizetype k = 0; k < record.contacts.size(); ++k) {
            if (!seen.contains(indexed.contacts[k])) {
                seen.insert(indexed.contacts[k]);
                contacts.append(record.contacts[k]);
            }
        }
    }
    std::sort(contacts.begin(), contacts.end(), LessIgnoringCase);
    return contacts;
}

QList<STagGroup> CRecordBrowser::TagGroups(const SRecordQuery& query) const
{
    QHash<QString, QSet<QString>> tagsByGroup;
    for (const int i : Selectable(query)) {
        for (const SRecordTag& tag : m_records[static_cast<std::size_t>(i)].tags)
            tagsByGroup[tag.group].insert(tag.tag);
    }
    QList<STagGroup> groups;
    for (auto it = tagsByGroup.cbegin(); it != tagsByGroup.cend(); ++it) {
        STagGroup group{it.key(), QStringList(it.value().cbegin(), it.value().cend())};
        std::sort(group.tags.begin(), group.tags.end(), LessIgnoringCase);
        groups.append(std::move(group));
    }
    std::sort(groups.begin(), groups.end(), [](const STagGroup& a, const STagGroup& b) {
        return LessIgnoringCase(a.group, b.group);
    });
    return groups;
}

QStringList CRecordBrowser::RecordTasks(const SRecordQuery& query) const
{
    QSet<QString> seen;
    QStringList tasks;
    for (const int i : Selectable(query)) {
        const SIndexed& indexed = m_index[static_cast<std::size_t>(i)];
        if (indexed.task.isEmpty() || seen.contains(indexed.task))
            continue;
        seen.insert(indexed.task);
        tasks.append(m_records[static_cast<std::size_t>(i)].task);
    }
    return tasks;
}

QStringList CRecordBrowser::Tasks(const std::vector<SPimTask>& storeTasks, Period::EPeriod period,
                                  const QDate& today,
                                  const std::optional<Period::SDayRange>& custom) const
{
    QSet<QString> recorded;
    for (const SIndexed& indexed : m_index) {
        if (!indexed.task.isEmpty())
            recorded.insert(indexed.task);
    }
    QSet<QString> stored;
    QSet<QString> added;
    QStringList tasks;
    for (const SPimTask& task : storeTasks) {
        const QString subject = task.subject.trimmed();
        const QString folded = subject.toCaseFolded();
        if (subject.isEmpty())
            continue;
        stored.insert(folded);
        const QDate day = task.date.isValid() ? task.date.date() : QDate();
        if (recorded.contains(folded) && !added.contains(folded) &&
            Period::Contains(period, today, day, custom)) {
            added.insert(folded);
            tasks.append(subject);
        }
    }
    if (Period::NeedsDate(period))
        return tasks; // a task only the records name has no date
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const QString& folded = m_index[i].task;
        if (folded.isEmpty() || stored.contains(folded) || added.contains(folded))
            continue;
        added.insert(folded);
        tasks.append(m_records[i].task);
    }
    return tasks;
}
