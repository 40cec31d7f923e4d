#include "store/recordbrowser.h"

#include "store/recorddate.h"
#include "store/recordinfo.h"
#include "store/recordinfolines.h"
#include "store/recordlisting.h"
#include "store/recordorder.h"
#include "store/recordreader.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

// Splits the decoded block once into the record's task, contact and tag lines, as every reader
// of the block sees them (RecordInfoLines).
void ParseInfo(SBrowsedRecord& record)
{
    using RecordInfoLines::EKind;
    using RecordInfoLines::ESection;
    const RecordInfoLines::SParsed parsed = RecordInfoLines::Parse(record.info);
    // Every list is made at its size at once.
    qsizetype counts[4] = {};
    for (const RecordInfoLines::SLine& line : parsed.lines) {
        if (line.kind != EKind::Header)
            ++counts[static_cast<int>(line.section)];
    }
    record.tasks.reserve(counts[static_cast<int>(ESection::Tasks)]);
    record.contacts.reserve(counts[static_cast<int>(ESection::Contacts)]);
    record.tagLines.reserve(counts[static_cast<int>(ESection::Tags)]);
    record.tags.reserve(counts[static_cast<int>(ESection::Tags)]);
    // Each line's text is made once, shared by the lists that hold it and moved into the last.
    QString group;
    for (const RecordInfoLines::SLine& line : parsed.lines) {
        // Headers and lines no reader looks at need no text of their own.
        if (line.kind == EKind::Header || line.section == ESection::None)
            continue;
        QString text = line.text.toString();
        switch (line.section) {
        case ESection::None:
            break;
        case ESection::Tasks:
            if (record.tasks.isEmpty() && !text.startsWith(u'['))
                record.task = text;
            record.tasks.append(std::move(text));
            break;
        case ESection::Contacts:
            record.contacts.append(std::move(text));
            break;
        case ESection::Tags:
            if (line.kind == EKind::Group) {
                record.tagLines.append(std::move(text));
                group = line.GroupName().toString();
                if (!record.groups.contains(group))
                    record.groups.append(group);
            } else if (line.IsTag()) {
                record.tagLines.append(text);
                record.tags.append(SRecordTag{group, std::move(text)});
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

int CRecordBrowser::SSpelledNames::Intern(const QString& text, int slot,
                                          const std::vector<SSlot>& all, bool& added)
{
    const int id = ids.Intern(text, added);
    if (added) {
        names.append(text);
        speller.push_back(slot);
        return id;
    }
    int& who = speller[static_cast<std::size_t>(id)];
    if (who < 0 || all[static_cast<std::size_t>(slot)].position <
                       all[static_cast<std::size_t>(who)].position) {
        names[id] = text;
        who = slot;
    }
    return id;
}

CRecordBrowser::CRecordBrowser(const RecordList& records, const QTimeZone& zone) : m_clock(zone)
{
    std::vector<RecordOrder::SKey> keys;
    keys.reserve(records.size());
    for (const RecordEntry& entry : records)
        keys.push_back(RecordOrder::Key(entry.fileName));
    const std::vector<std::size_t> order = RecordOrder::Arrange(keys);

    m_slots.resize(records.size());
    m_order.resize(records.size());
    m_pool.reserve(records.size() * 4);
    for (std::size_t i = 0; i < order.size(); ++i) {
        SSlot& slot = m_slots[i];
        slot.record = Browse(records[order[i]], m_clock);
        slot.key = std::move(keys[order[i]]);
        slot.position = static_cast<int>(i);
        m_order[i] = static_cast<int>(i);
        m_slotOfPath.emplace(slot.record.path, static_cast<int>(i));
    }
    for (std::size_t i = 0; i < m_slots.size(); ++i)
        Index(static_cast<int>(i), true);
    SortTables();
}

SBrowsedRecord CRecordBrowser::Browse(RecordEntry entry, const CZoneClock& clock)
{
    SBrowsedRecord record;
    record.path = std::move(entry.path);
    record.fileName = std::move(entry.fileName);
    record.stamp = entry.stamp;
    record.samples = entry.samples;
    record.recorded = RecordDate::Of(record.fileName, entry.stamp, entry.samples, clock);
    record.day = record.recorded.isValid() ? record.recorded.date() : QDate();
    record.info = RecordInfo::DecodeRecordInfo(entry.info);
    ParseInfo(record);
    return record;
}

const SBrowsedRecord& CRecordBrowser::Record(int index) const
{
    return m_slots.at(static_cast<std::size_t>(m_order.at(static_cast<std::size_t>(index)))).record;
}

int CRecordBrowser::IndexOfPath(const std::filesystem::path& path) const
{
    const auto found = m_slotOfPath.find(path.native());
    return found == m_slotOfPath.end() ? -1
                                       : m_slots[static_cast<std::size_t>(found->second)].position;
}

int CRecordBrowser::TakeSlot()
{
    if (m_freeSlots.empty()) {
        m_slots.emplace_back();
        return static_cast<int>(m_slots.size() - 1);
    }
    const int slot = m_freeSlots.back();
    m_freeSlots.pop_back();
    return slot;
}

void CRecordBrowser::Place(int slot, int position)
{
    m_order.insert(m_order.begin() + position, slot);
    for (std::size_t i = static_cast<std::size_t>(position); i < m_order.size(); ++i)
        m_slots[static_cast<std::size_t>(m_order[i])].position = static_cast<int>(i);
}

void CRecordBrowser::Put(const RecordEntry& entry)
{
    m_listed.clear();
    SBrowsedRecord record = Browse(entry, m_clock);
    RecordOrder::SKey key = RecordOrder::Key(record.fileName);
    const std::string path = record.path;
    int position = -1;
    if (const auto found = m_slotOfPath.find(path); found != m_slotOfPath.end()) {
        const SSlot& old = m_slots[static_cast<std::size_t>(found->second)];
        // A record that keeps its place in the order keeps its index.
        if (!RecordOrder::Less(key, old.key) && !RecordOrder::Less(old.key, key))
            position = old.position;
        RemoveSlots({found->second});
    }
    if (position < 0)
        position = static_cast<int>(
            std::upper_bound(m_order.begin(), m_order.end(), key,
                             [&](const RecordOrder::SKey& k, int slot) {
                                 return RecordOrder::Less(
                                     k, m_slots[static_cast<std::size_t>(slot)].key);
                             }) -
            m_order.begin());
    const int slot = TakeSlot();
    m_slots[static_cast<std::size_t>(slot)].record = std::move(record);
    m_slots[static_cast<std::size_t>(slot)].key = std::move(key);
    m_slotOfPath[path] = slot;
    Place(slot, position);
    Index(slot, false);
}

bool CRecordBrowser::Remove(const std::filesystem::path& path)
{
    const auto found = m_slotOfPath.find(path.native());
    if (found == m_slotOfPath.end())
        return false;
    RemoveSlots({found->second});
    return true;
}

bool CRecordBrowser::Reread(const std::filesystem::path& path,
                            const RecordReader::DecoderOpener& decoders)
{
    if (std::optional<RecordEntry> entry =
            RecordReader::Read(path, RecordReader::EDetail::Full, decoders)) {
        Put(*entry);
        return true;
    }
    return Remove(path);
}

CRecordBrowser::SListed* CRecordBrowser::ListedBefore(std::vector<SListed>& before,
                                                      std::size_t& cursor, const std::string& path)
{
    // A folder lists its files in the same order until they change: the file expected next,
    // or the one after it when a file went away, is found without hashing its path.
    for (std::size_t at = cursor; at < std::min(before.size(), cursor + 2); ++at) {
        if (before[at].path == path) {
            cursor = at + 1;
            return &before[at];
        }
    }
    return nullptr;
}

bool CRecordBrowser::KeepUnchanged(const SListed* listed, const std::string& path,
                                   const SFileStamp& stamp, std::uint64_t pass)
{
    if (listed) {
        if (!listed->stamp.SameAs(stamp))
            return false;
        if (listed->slot >= 0)
            m_slots[static_cast<std::size_t>(listed->slot)].seen = pass;
        else
            m_others[path].seen = pass;
        return true;
    }
    if (const auto slot = m_slotOfPath.find(path); slot != m_slotOfPath.end()) {
        SSlot& known = m_slots[static_cast<std::size_t>(slot->second)];
        if (!known.record.stamp || !known.record.stamp->SameAs(stamp))
            return false;
        known.seen = pass;
        return true;
    }
    const auto other = m_others.find(path);
    if (other == m_others.end() || !other->second.stamp.SameAs(stamp))
        return false;
    other->second.seen = pass;
    return true;
}

CRecordBrowser::SListed CRecordBrowser::ListedNow(std::string path, const SFileStamp& stamp) const
{
    const auto slot = m_slotOfPath.find(path);
    if (slot == m_slotOfPath.end())
        return {std::move(path), stamp, -1};
    const SSlot& known = m_slots[static_cast<std::size_t>(slot->second)];
    return {std::move(path), known.record.stamp.value_or(stamp), slot->second};
}

CRecordBrowser::SRefresh CRecordBrowser::Refresh(const QStringList& folders,
                                                 const RecordReader::DecoderOpener& decoders)
{
    SRefresh result;
    const std::uint64_t pass = ++m_refreshes;
    // The files as the last refresh listed them, valid while nothing else changed the model.
    std::vector<SListed> before =
        folders == m_listedFolders ? std::exchange(m_listed, {}) : std::vector<SListed>();
    m_listed.clear();
    std::vector<SListed> listed;
    // An unchanged file costs its status and a comparison: no order, no path made.
    const CRecordListing listing(folders, CRecordListing::EStatus::Taken,
                                 CRecordListing::EOrder::AsListed,
                                 m_slots.size() + m_others.size());
    listed.reserve(listing.Files().size());
    std::size_t cursor = 0;
    std::string key;
    for (const CRecordListing::SFile& file : listing.Files()) {
        listing.PathTextOf(file, key);
        SListed* known = ListedBefore(before, cursor, key);
        if (KeepUnchanged(known, key, *file.stamp, pass)) {
            listed.push_back(known ? std::move(*known) : ListedNow(key, *file.stamp));
            continue;
        }
        const bool replacing = m_slotOfPath.contains(key);
        if (std::optional<RecordEntry> entry =
                listing.Read(file, RecordReader::EDetail::Full, decoders)) {
            if (replacing)
                ++result.replaced;
            else
                result.added.emplace_back(key);
            Put(*entry);
            m_slots[static_cast<std::size_t>(m_slotOfPath[key])].seen = pass;
            m_others.erase(key);
        } else {
            result.removed += Remove(std::filesystem::path(key)) ? 1 : 0;
            m_others[key] = SOther{*file.stamp, pass};
        }
        listed.push_back(ListedNow(key, *file.stamp));
    }
    std::vector<int> gone;
    for (const int slot : m_order) {
        if (m_slots[static_cast<std::size_t>(slot)].seen != pass)
            gone.push_back(slot);
    }
    result.removed += static_cast<int>(gone.size());
    RemoveSlots(gone);
    std::erase_if(m_others, [pass](const auto& other) { return other.second.seen != pass; });
    m_listed = std::move(listed);
    m_listedFolders = folders;
    return result;
}

void CRecordBrowser::RemoveSlots(const std::vector<int>& taken)
{
    if (taken.empty())
        return;
    m_listed.clear();
    std::vector<char> leaving(m_slots.size(), 0);
    for (const int slot : taken)
        leaving[static_cast<std::size_t>(slot)] = 1;
    std::erase_if(m_order, [&](int slot) { return leaving[static_cast<std::size_t>(slot)] != 0; });
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_slots[static_cast<std::size_t>(m_order[i])].position = static_cast<int>(i);
    for (const int slot : taken) {
        SSlot& gone = m_slots[static_cast<std::size_t>(slot)];
        m_slotOfPath.erase(gone.record.path);
        m_poolGarbage += static_cast<std::size_t>(
            gone.indexed.contacts.count + gone.indexed.tags.count + gone.indexed.taskLines.count);
        gone.position = -1;
    }
    Respell(leaving);
    for (const int slot : taken) {
        m_slots[static_cast<std::size_t>(slot)] = SSlot();
        m_freeSlots.push_back(slot);
    }
    if (m_poolGarbage > 4096 && m_poolGarbage > m_pool.size() / 2)
        CompactPool();
}

// The names whose spelling came from a record that leaves are spelled again as the first
// record in order that still has them spells them.
void CRecordBrowser::Respell(const std::vector<char>& leaving)
{
    const auto affected = [&](const SSpelledNames& names) {
        std::vector<char> marks(names.speller.size(), 0);
        bool any = false;
        for (std::size_t id = 0; id < names.speller.size(); ++id) {
            const int who = names.speller[id];
            if (who >= 0 && leaving[static_cast<std::size_t>(who)]) {
                marks[id] = 1;
                any = true;
            }
        }
        return any ? marks : std::vector<char>();
    };
    std::vector<char> contacts = affected(m_contacts);
    std::vector<char> tasks = affected(m_tasks);
    for (std::size_t id = 0; id < contacts.size(); ++id) {
        if (contacts[id])
            m_contacts.speller[id] = -1;
    }
    for (std::size_t id = 0; id < tasks.size(); ++id) {
        if (tasks[id])
            m_tasks.speller[id] = -1;
    }
    if (contacts.empty() && tasks.empty())
        return;
    for (const int slot : m_order) {
        const SSlot& s = m_slots[static_cast<std::size_t>(slot)];
        if (!contacts.empty()) {
            for (const QString& contact : s.record.contacts) {
                const auto id = static_cast<std::size_t>(m_contacts.ids.Find(contact));
                if (contacts[id] && m_contacts.speller[id] < 0) {
                    m_contacts.names[static_cast<qsizetype>(id)] = contact;
                    m_contacts.speller[id] = slot;
                }
            }
        }
        if (!tasks.empty() && s.indexed.task >= 0) {
            const auto id = static_cast<std::size_t>(s.indexed.task);
            if (tasks[id] && m_tasks.speller[id] < 0) {
                m_tasks.names[static_cast<qsizetype>(id)] = s.record.task;
                m_tasks.speller[id] = slot;
            }
        }
    }
}

CRecordBrowser::SRun CRecordBrowser::Distinct(qsizetype from)
{
    const auto begin = m_pool.begin() + from;
    std::sort(begin, m_pool.end());
    m_pool.erase(std::unique(begin, m_pool.end()), m_pool.end());
    return SRun{static_cast<int>(from),
                static_cast<int>(m_pool.size() - static_cast<std::size_t>(from))};
}

void CRecordBrowser::CompactPool()
{
    std::vector<int> pool;
    pool.reserve(m_pool.size() - m_poolGarbage);
    const auto move = [&](SRun& run) {
        const int at = static_cast<int>(pool.size());
        pool.insert(pool.end(), m_pool.begin() + run.at, m_pool.begin() + run.at + run.count);
        run.at = at;
    };
    for (const int slot : m_order) {
        SIndexed& indexed = m_slots[static_cast<std::size_t>(slot)].indexed;
        move(indexed.contacts);
        move(indexed.tags);
        move(indexed.taskLines);
    }
    m_pool = std::move(pool);
    m_poolGarbage = 0;
}

bool CRecordBrowser::RunHasAll(const SRun& run, const std::vector<int>& wanted) const
{
    const auto begin = m_pool.begin() + run.at;
    const auto end = begin + run.count;
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](int id) { return std::binary_search(begin, end, id); });
}

void CRecordBrowser::Index(int slot, bool bulk)
{
    SSlot& s = m_slots[static_cast<std::size_t>(slot)];
    const SBrowsedRecord& record = s.record;
    SIndexed& indexed = s.indexed;
    indexed.dated = record.day.isValid();
    if (indexed.dated)
        indexed.day = s.key.dated ? s.key.day : record.day.toJulianDay();
    bool added = false;
    if (!record.task.isEmpty())
        indexed.task = m_tasks.Intern(record.task, slot, m_slots, added);
    qsizetype length = record.fileName.size();
    std::size_t from = m_pool.size();
    for (const QString& line : record.tasks) {
        m_pool.push_back(m_taskLineIds.Intern(line, added));
        length += line.size() + 1;
    }
    indexed.taskLines = Distinct(static_cast<qsizetype>(from));
    from = m_pool.size();
    for (const QString& contact : record.contacts) {
        const int id = m_contacts.Intern(contact, slot, m_slots, added);
        if (added && !bulk)
            InsertSorted(m_contactOrder, id, false);
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
            if (!bulk)
                InsertSorted(m_tagOrder, id, true);
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

bool CRecordBrowser::LessInTable(int a, int b, bool tag) const
{
    if (!tag)
        return LessIgnoringCase(m_contacts.names[a], m_contacts.names[b]);
    const SRecordTag& x = m_tags[a];
    const SRecordTag& y = m_tags[b];
    if (x.group != y.group)
        return LessIgnoringCase(x.group, y.group);
    return LessIgnoringCase(x.tag, y.tag);
}

void CRecordBrowser::InsertSorted(std::vector<int>& order, int id, bool tag)
{
    order.insert(std::upper_bound(order.begin(), order.end(), id,
                                  [&](int a, int b) { return LessInTable(a, b, tag); }),
                 id);
}

void CRecordBrowser::SortTables()
{
    m_contactOrder.resize(static_cast<std::size_t>(m_contacts.names.size()));
    std::iota(m_contactOrder.begin(), m_contactOrder.end(), 0);
    std::sort(m_contactOrder.begin(), m_contactOrder.end(),
              [&](int a, int b) { return LessInTable(a, b, false); });
    m_tagOrder.resize(static_cast<std::size_t>(m_tags.size()));
    std::iota(m_tagOrder.begin(), m_tagOrder.end(), 0);
    std::sort(m_tagOrder.begin(), m_tagOrder.end(),
              [&](int a, int b) { return LessInTable(a, b, true); });
}

bool CRecordBrowser::InSetAndPeriod(ERecordSet set, bool task, bool contacts, bool tags,
                                    std::optional<qint64> day,
                                    const std::optional<Period::SDayRange>& days)
{
    switch (set) {
    case ERecordSet::All:
        break;
    case ERecordSet::WithTask:
        if (!task)
            return false;
        break;
    case ERecordSet::WithContacts:
        if (!contacts)
            return false;
        break;
    case ERecordSet::WithTags:
        if (!tags)
            return false;
        break;
    }
    return !days || (day && !days->IsEmpty() && *day >= days->first.toJulianDay() &&
                     *day <= days->last.toJulianDay());
}

bool CRecordBrowser::InSetAndPeriod(const SBrowsedRecord& record, const SRecordQuery& query,
                                    const std::optional<Period::SDayRange>& days)
{
    return InSetAndPeriod(
        query.set, !record.task.isEmpty(), !record.contacts.isEmpty(), !record.tags.isEmpty(),
        record.day.isValid() ? std::optional(record.day.toJulianDay()) : std::nullopt, days);
}

bool CRecordBrowser::NarrowsByText(const SRecordQuery& query)
{
    return !query.search.trimmed().isEmpty() || !query.task.trimmed().isEmpty() ||
           !query.contacts.isEmpty() || !query.tags.isEmpty() || query.tasksAmong.has_value();
}

bool CRecordBrowser::Passes(const SIndexed& indexed, const SRecordQuery& query,
                            const QString& search,
                            const std::optional<Period::SDayRange>& days) const
{
    return InSetAndPeriod(query.set, indexed.task >= 0, indexed.contacts.count > 0,
                          indexed.tags.count > 0,
                          indexed.dated ? std::optional(indexed.day) : std::nullopt, days) &&
           (search.isEmpty() || indexed.search.contains(search));
}

std::vector<int> CRecordBrowser::Selectable(const SRecordQuery& query) const
{
    const QString search = query.search.trimmed().toCaseFolded();
    const std::optional<Period::SDayRange> days =
        Period::Days(query.period, query.today, query.custom);
    std::vector<int> indexes;
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        if (Passes(At(static_cast<int>(i)).indexed, query, search, days))
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
        contacts.push_back(m_contacts.ids.Find(contact.trimmed()));
    std::vector<int> tags;
    for (const SRecordTag& tag : query.tags)
        tags.push_back(m_tagIds.value(tag, -1));
    QSet<int> among;
    if (query.tasksAmong) {
        for (const QString& task : *query.tasksAmong)
            among.insert(m_tasks.ids.Find(task.trimmed()));
    }
    std::vector<int> indexes = Selectable(query);
    std::erase_if(indexes, [&](int i) {
        const SIndexed& indexed = At(i).indexed;
        return !RunHasAll(indexed.taskLines, taskLines) || !RunHasAll(indexed.contacts, contacts) ||
               !RunHasAll(indexed.tags, tags) ||
               (query.tasksAmong && (indexed.task < 0 || !among.contains(indexed.task)));
    });
    return indexes;
}

QStringList CRecordBrowser::Contacts(const SRecordQuery& query) const
{
    std::vector<char> seen(static_cast<std::size_t>(m_contacts.names.size()), 0);
    for (const int i : Selectable(query)) {
        const SRun& run = At(i).indexed.contacts;
        for (int k = run.at; k < run.at + run.count; ++k)
            seen[static_cast<std::size_t>(m_pool[static_cast<std::size_t>(k)])] = 1;
    }
    QStringList contacts;
    for (const int id : m_contactOrder) {
        if (seen[static_cast<std::size_t>(id)])
            contacts.append(m_contacts.names[id]);
    }
    return contacts;
}

QList<STagGroup> CRecordBrowser::TagGroups(const SRecordQuery& query) const
{
    std::vector<char> seen(static_cast<std::size_t>(m_tags.size()), 0);
    for (const int i : Selectable(query)) {
        const SRun& run = At(i).indexed.tags;
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
    std::vector<char> seen(static_cast<std::size_t>(m_tasks.names.size()), 0);
    QStringList tasks;
    for (const int i : Selectable(query)) {
        const int id = At(i).indexed.task;
        if (id < 0 || seen[static_cast<std::size_t>(id)])
            continue;
        seen[static_cast<std::size_t>(id)] = 1;
        tasks.append(m_tasks.names[id]);
    }
    return tasks;
}

QStringList CRecordBrowser::Tasks(const std::vector<SPimTask>& storeTasks, Period::EPeriod period,
                                  const QDate& today,
                                  const std::optional<Period::SDayRange>& custom) const
{
    // The tasks some record is listed under, in the order of the first record of each.
    std::vector<char> listed(static_cast<std::size_t>(m_tasks.names.size()), 0);
    std::vector<int> firsts;
    for (const int slot : m_order) {
        const int id = m_slots[static_cast<std::size_t>(slot)].indexed.task;
        if (id >= 0 && !listed[static_cast<std::size_t>(id)]) {
            listed[static_cast<std::size_t>(id)] = 1;
            firsts.push_back(id);
        }
    }
    std::vector<char> stored(listed.size(), 0);
    QSet<QString> added;
    QStringList tasks;
    for (const SPimTask& task : storeTasks) {
        const QString subject = task.subject.trimmed();
        if (subject.isEmpty())
            continue;
        const QString folded = subject.toCaseFolded();
        const int id = m_tasks.ids.Find(subject);
        if (id < 0 || !listed[static_cast<std::size_t>(id)])
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
    for (const int id : firsts) {
        if (!stored[static_cast<std::size_t>(id)])
            tasks.append(m_tasks.names[id]);
    }
    return tasks;
}
