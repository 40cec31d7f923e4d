#pragma once

#include "store/period.h"
#include "store/pimsource.h"
#include "store/recordcatalogue.h"
#include "store/recordorder.h"
#include "store/recordreader.h"
#include "store/zoneclock.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A tag as a record carries it: the tag line and the group line it stands under.
struct SRecordTag
{
    QString group;
    QString tag;
    bool operator==(const SRecordTag&) const = default;
};

inline size_t qHash(const SRecordTag& tag, size_t seed = 0) noexcept
{
    return qHashMulti(seed, tag.group, tag.tag);
}

// One group of the tag tree with its tags.
struct STagGroup
{
    QString group;
    QStringList tags;
    bool operator==(const STagGroup&) const = default;
};

// What the browser needs of one record, worked out once when it is read.
struct SBrowsedRecord
{
    std::string path;   // as the record list gives it (the file system's bytes)
    QString fileName;   // the text the lists show
    QDateTime recorded; // local (RecordDate::Of); invalid when unknown
    QDate day;          // recorded.date(); invalid when unknown
    // The file's status and the audio's length in samples as the record was read; absent when
    // the record list did not carry them.
    std::optional<SFileStamp> stamp;
    std::optional<std::uint64_t> samples;
    QString info;           // the decoded information block
    QStringList tasks;      // the lines of the Tasks section, trimmed, empty ones skipped
    QStringList contacts;   // the lines of the Contacts section, trimmed, empty ones skipped
    QList<SRecordTag> tags; // every tag line under a group line, in block order
    QStringList groups;     // the names of the group lines, each once, in block order
    // The lines of the Tags section as the summary shows them: group lines ("[Priority]")
    // and their tags, trimmed, empty ones skipped.
    QStringList tagLines;
    // The task the record is listed under: the first line of its Tasks section, trimmed,
    // unless it begins with "["; empty when the record has no task.
    QString task;
};

// Which records a page lists before any selection narrows them.
enum class ERecordSet
{
    All,          // every record
    WithTask,     // records that have a task (SBrowsedRecord::task not empty)
    WithContacts, // records that name a contact
    WithTags,     // records that carry a tag under a group
};

// One question of a page. Every criterion narrows; the defaults narrow nothing.
struct SRecordQuery
{
    ERecordSet set = ERecordSet::All;
    // The record's recorded day must lie in the period seen on `today` (Period::Contains);
    // records without a date belong to All only.
    Period::EPeriod period = Period::EPeriod::All;
    QDate today;
    std::optional<Period::SDayRange> custom;
    // Case-insensitive; matches when any tag, task or contact of the record, or its file
    // name, contains it. Blank (empty or only spaces): no narrowing.
    QString search;
    // Non-empty: a line of the record's Tasks section equals it, ignoring case.
    QString task;
    // Set: the task the record is listed under (SBrowsedRecord::task) is one of these,
    // ignoring case; an empty list lets no record through.
    std::optional<QStringList> tasksAmong;
    // The record names every one of them, ignoring case.
    QStringList contacts;
    // The record carries every one of them, each in its own group (both compared exactly).
    QList<SRecordTag> tags;
};

// The records browser's model over a record list: every record with its date and parsed
// information, in RecordOrder, and the answers to the pages' questions. Building costs one parse
// per record; the questions then only compare precomputed values, so a page can ask again on
// every keystroke. The model copies what it needs: the record list may be freed or rebuilt
// afterwards.
//
// The model changes one record at a time (Put, Remove, Reread), at the cost of that record
// alone, and Refresh brings it up to the record folders reading only the files that changed:
// a rename, a delete or an edit in the browser, or a change made outside it, never reads the
// other records again.
class CRecordBrowser
{
public:
    CRecordBrowser() = default;
    // `zone` should be the system's zone, looked up once (RecordDate::FromFileName).
    explicit CRecordBrowser(const RecordList& records,
                            const QTimeZone& zone = QTimeZone::systemTimeZone());

    int Count() const { return static_cast<int>(m_order.size()); }
    // index in 0 .. Count() - 1, in RecordOrder.
    const SBrowsedRecord& Record(int index) const;
    // The index of the record with this path (exact), -1 when none.
    int IndexOfPath(const std::filesystem::path& path) const;

    // Adds the record, or replaces the one with the same path. A record whose place in the
    // order does not change keeps its index.
    void Put(const RecordEntry& entry);
    // Takes out the record with this path; false when there is none.
    bool Remove(const std::filesystem::path& path);
    // Reads the file at `path` again in one pass (RecordReader, with its status and length):
    // the record it holds replaces the one with that path, or is added; a file that holds none
    // any more, or is gone, takes it out. `decoders` read headers the quick reader leaves
    // undecided. True when the model changed.
    bool Reread(const std::filesystem::path& path, const RecordReader::DecoderOpener& decoders);

    struct SRefresh
    {
        // The records that are new, so that a list can show them.
        std::vector<std::filesystem::path> added;
        int replaced = 0;
        int removed = 0;
        bool Changed() const { return !added.empty() || replaced + removed > 0; }
    };
    // Brings the model up to the record folders (CRecordListing, with one status call per
    // file): only files that are new or whose status differs from when they were read are read
    // again, and the records whose files are gone are taken out. A file found to hold no
    // record is remembered as such until its status changes.
    SRefresh Refresh(const QStringList& folders, const RecordReader::DecoderOpener& decoders);

    // The indexes of the records the query lists, in RecordOrder.
    std::vector<int> Records(const SRecordQuery& query) const;

    // One record as the model keeps it: its date (`zone` as above) and its parsed information.
    static SBrowsedRecord Browse(RecordEntry entry, const CZoneClock& clock);
    // Whether `query` asks about a record's texts (its search, task, contacts, tags or tasks),
    // which only a model answers; a query that does not asks only InSetAndPeriod of each record.
    static bool NarrowsByText(const SRecordQuery& query);
    // Whether the query's record set and period let `record` through; `days` is what
    // Period::Days gives for the query.
    static bool InSetAndPeriod(const SBrowsedRecord& record, const SRecordQuery& query,
                               const std::optional<Period::SDayRange>& days);

    // The selector lists of the pages, each over the records that the query's `set`,
    // period and search let through; the query's own task, contacts and tags are ignored
    // (they are the selection made from these lists).
    //
    // Contacts: distinct ignoring case (spelled as the first record in order spells them),
    // sorted ignoring case.
    QStringList Contacts(const SRecordQuery& query) const;
    // Tag groups that carry at least one tag, sorted ignoring case, each with its distinct tags
    // (exact) sorted ignoring case. A tag belongs only to the group it stands under.
    QList<STagGroup> TagGroups(const SRecordQuery& query) const;
    // The records' tasks (SBrowsedRecord::task), distinct ignoring case (spelled as the first
    // record in order spells them), in RecordOrder of the first record that has each.
    QStringList RecordTasks(const SRecordQuery& query) const;

    // The tasks page's list for a task period: first the store's tasks whose date lies in the
    // period and that some record is listed under (ignoring case), in store order; then, under
    // All only, the tasks of records that no store task names (they have no date), as
    // RecordTasks orders them. Tasks without a date belong to All only. Distinct ignoring
    // case; subjects trimmed.
    QStringList Tasks(const std::vector<SPimTask>& storeTasks, Period::EPeriod period,
                      const QDate& today,
                      const std::optional<Period::SDayRange>& custom = std::nullopt) const;

private:
    // A run of numbers in m_pool: a record's contacts, tags or task lines as numbers into
    // the model's tables, so that matching compares numbers and needs no text of its own.
    struct SRun
    {
        int at = 0;
        int count = 0;
    };

    // The per-record values the questions compare.
    struct SIndexed
    {
        qint64 day = 0; // Julian day; meaningful when `dated`
        bool dated = false;
        int task = -1;  // into m_taskNames; -1 without a task
        SRun contacts;  // into m_contactNames, distinct
        SRun tags;      // into m_tags, distinct
        SRun taskLines; // into m_taskLineIds, distinct
        QString search; // file name, tags, tasks and contacts, folded, one per line
    };

    // One record where it is kept: records stay in their slot while others come and go, and
    // m_order lists the slots in RecordOrder.
    struct SSlot
    {
        SBrowsedRecord record;
        RecordOrder::SKey key;
        SIndexed indexed;
        int position = -1;      // in m_order; -1 for a free slot
        std::uint64_t seen = 0; // the refresh that last listed its file
    };

    // A case-insensitive intern table: one number per text ignoring case, with the exact
    // spellings already seen answered without folding.
    struct SFoldedIds
    {
        QHash<QString, int> exact;
        QHash<QString, int> folded;
        int Find(const QString& text) const;
        int Intern(const QString& text, bool& added);
    };

    // A name table whose names are spelled as the first record in order that has each spells
    // it: `speller` is that record's slot.
    struct SSpelledNames
    {
        SFoldedIds ids;
        QStringList names;
        std::vector<int> speller;
        // The number of `text` for the record in `slot`, which takes over the spelling when it
        // comes first in order; `added` when the name is new.
        int Intern(const QString& text, int slot, const std::vector<SSlot>& all, bool& added);
    };

    // A file listed by Refresh that holds no record.
    struct SOther
    {
        SFileStamp stamp;
        std::uint64_t seen = 0;
    };

    // A file as a refresh listed it: its path, the status it had when it was read, and the
    // slot of its record (-1 when it holds none).
    struct SListed
    {
        std::string path;
        SFileStamp stamp;
        int slot = -1;
    };

    static SListed* ListedBefore(std::vector<SListed>& before, std::size_t& cursor,
                                 const std::string& path);
    // Marks the file seen when it is as it was read (`listed`, or else found by its path).
    bool KeepUnchanged(const SListed* listed, const std::string& path, const SFileStamp& stamp,
                       std::uint64_t pass);
    SListed ListedNow(std::string path, const SFileStamp& stamp) const;
    int TakeSlot();
    void Place(int slot, int position);
    void RemoveSlots(const std::vector<int>& taken);
    void Respell(const std::vector<char>& leaving);
    // Numbers the record's names and texts; `bulk` while the model is built, which sorts the
    // tables once at the end.
    void Index(int slot, bool bulk);
    SRun Distinct(qsizetype from);
    void CompactPool();
    bool RunHasAll(const SRun& run, const std::vector<int>& wanted) const;
    void SortTables();
    void InsertSorted(std::vector<int>& order, int id, bool tag);
    bool LessInTable(int a, int b, bool tag) const;
    static bool InSetAndPeriod(ERecordSet set, bool task, bool contacts, bool tags,
                               std::optional<qint64> day,
                               const std::optional<Period::SDayRange>& days);
    bool Passes(const SIndexed& record, const SRecordQuery& query, const QString& search,
                const std::optional<Period::SDayRange>& days) const;
    std::vector<int> Selectable(const SRecordQuery& query) const;
    const SSlot& At(int index) const
    {
        return m_slots[static_cast<std::size_t>(m_order[static_cast<std::size_t>(index)])];
    }

    CZoneClock m_clock{QTimeZone()};
    std::vector<SSlot> m_slots;
    std::vector<int> m_freeSlots;
    std::vector<int> m_order;
    std::unordered_map<std::string, int> m_slotOfPath;
    std::unordered_map<std::string, SOther> m_others;
    std::uint64_t m_refreshes = 0;
    // The files of the last refresh in the folders' order, and its folders; emptied by any
    // other change to the model.
    std::vector<SListed> m_listed;
    QStringList m_listedFolders;
    std::vector<int> m_pool;
    std::size_t m_poolGarbage = 0;
    // Every distinct contact (ignoring case; the spelling of the first record in order),
    // task (likewise), task line (ignoring case) and tag (exact) of the records, with the
    // order the lists show them in. Numbers are never taken back: a name no record has any
    // more is simply seen in none.
    SSpelledNames m_contacts;
    std::vector<int> m_contactOrder;
    SSpelledNames m_tasks;
    SFoldedIds m_taskLineIds;
    QHash<SRecordTag, int> m_tagIds;
    QList<SRecordTag> m_tags;
    std::vector<int> m_tagOrder;
};
