#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class CCatalogueJournal;
class CCatalogueLock;

// Result of the catalogue's checked additions. The numbers are the ones the tag dialogs map to
// their messages (see CTagCatalogue::Message).
enum class ECatalogueResult
{
    Ok = 0,
    WriteFailed = 29,   // the file could not be read or rewritten; it is unchanged
    AlreadyExists = 80, // the tag (or group) is already there
    InvalidName = 123,  // a tag (or group) containing "[" or "]"
    EmptyName = 1160,   // nothing left after trimming spaces
    // Names that would come back from the file as something else (see NameRules).
    ControlCharacter = 1161, // a line break or another control character
    ReservedName = 1162,     // a group named like a slot kind
    TooLong = 1163,          // longer than a catalogue line takes
    InUse = 1164,            // another program kept the catalogue locked; it is unchanged
};

enum class EMoveResult
{
    Moved,
    NotMoved,   // the tag is last in its group, or not found; the file is unchanged
    WriteFailed // the file could not be read or rewritten; it is unchanged
};

// The tag groups and their tags, kept in "groups.dat": one entry per line, a group line
// "[name]" followed by its tags; lines above the first group line belong to no group and are
// kept. A line containing "[" or "]" anywhere is a group line; its name is the line without
// its first and last characters. Names compare exactly, case-sensitively.
//
// Nothing is cached: every call reads the file afresh, and every change rewrites it whole
// through a temporary file renamed over it (a crash never leaves a truncated catalogue).
// A file that cannot be read is an empty catalogue to the readers and a failure to the writers;
// so is a catalogue another program keeps locked for longer than CCatalogueLock::kWait.
// User-interface thread only.
class CTagCatalogue
{
public:
    static constexpr const char* kFileName = "groups.dat";
    static constexpr const char* kBackupFileName = "tmp_groups.dat";

    static constexpr const char* kMsgTagExists =
        QT_TRANSLATE_NOOP("CTagCatalogue", "Tag name already exist.\nPlease enter another name.");
    static constexpr const char* kMsgEnterName =
        QT_TRANSLATE_NOOP("CTagCatalogue", "Please, enter a name!");
    static constexpr const char* kMsgTagBrackets = QT_TRANSLATE_NOOP(
        "CTagCatalogue",
        "Tag name is can not contain symbols '[' and ']'.\nPlease enter another name.");
    static constexpr const char* kMsgGroupExists = QT_TRANSLATE_NOOP(
        "CTagCatalogue", "The group with given name already exists!\nPlease enter another name.");
    static constexpr const char* kMsgWriteFailed =
        QT_TRANSLATE_NOOP("CTagCatalogue", "The tags file could not be saved.");

    // Copy names are held to this many characters.
    static constexpr int kMaxCopyNameLength = 25;

    // `folder` is the program folder that holds "groups.dat" and its backup.
    explicit CTagCatalogue(const QString& folder);

    QString Path() const { return m_path; }
    QString BackupPath() const { return m_backupPath; }

    // Creates the file with "[Priority]", "Important", "Normal", "Inessential" when it cannot
    // be read. True when the file is readable afterwards.
    bool EnsureDefaultGroups() const;

    // Trims spaces first; an empty name counts as existing. Else true when a group line has
    // the name.
    bool GroupExists(const QString& name) const;
    // Appends "[name]" (trimmed). EmptyName, a refusal of NameRules (InvalidName,
    // ControlCharacter, ReservedName, TooLong), AlreadyExists, WriteFailed or Ok.
    ECatalogueResult AddGroup(const QString& name) const;
    // Appends a copy of group `source` named `name` (trimmed) with the source's tags in their
    // order (a tag written twice under the source is copied once), in one rewrite: the file
    // holds either no copy or the whole copy. The same refusals as AddGroup, and
    // WriteFailed when the source group is missing.
    ECatalogueResult CopyGroup(const QString& source, const QString& name) const;
    // Remove every group line named `name` with its tags. True also when there was none.
    bool DeleteGroup(const QString& name) const;
    // Every group line named `oldName` becomes `newName`; tags stay. False, with the file
    // unchanged, when `newName` breaks a rule of NameRules (the caller checks that it is
    // not empty and not taken).
    bool RenameGroup(const QString& oldName, const QString& newName) const;

    // True when a tag line `tag` lies under a group line `group`.
    bool TagExists(const QString& group, const QString& tag) const;
    // The tag manager's addition: InvalidName for "[" or "]", EmptyName when blank after
    // trimming, another refusal of NameRules, AlreadyExists, else the trimmed tag becomes the
    // group's last tag (just before the next group line; at the end of the file when the group is
    // last or absent): Ok, or WriteFailed.
    ECatalogueResult AddTag(const QString& group, const QString& tag) const;
    // The main screen's quick addition: the same checks, but the tag becomes the group's first
    // tag (right after its group line; at the end of the file when the group is absent).
    ECatalogueResult AddTagFirst(const QString& group, const QString& tag) const;
    // Removes every tag line `tag` of the group. True also when there was none.
    bool DeleteTag(const QString& group, const QString& tag) const;
    // Every tag line `oldTag` of the group becomes `newTag`. False, with the file unchanged,
    // when `newTag` breaks a rule of NameRules (the caller checks that it is not taken).
    bool RenameTag(const QString& group, const QString& oldTag, const QString& newTag) const;
    // Swaps the group's first tag line `tag` with the line after it, unless that line is a
    // group line or the end of the file. Moving a tag up is MoveTagDown of the tag above it.
    EMoveResult MoveTagDown(const QString& group, const QString& tag) const;

    // Every group name in file order (a group named twice appears twice).
    QStringList ListGroups() const;
    // The tags of `group` in file order; empty for an empty group name.
    QStringList ListTagsOfGroup(const QString& group) const;
    // ListGroups with ListTagsOfGroup of each, read in one pass over the file.
    QList<QPair<QString, QStringList>> ListAll() const;
    // The group's non-empty tags, each once, in the file's order.
    QStringList UniqueTagsOfGroup(const QString& group) const;

    // A name for a copy of group `name` that no group has yet: Work -> Work01,
    // Work01 -> Work02 when Work02 is free, Work9 -> Work10, Work12345 -> Work12346.
    QString MakeCopyName(const QString& name) const;
    // The same over any existence test. Gives up (returning the last candidate) only after
    // a very large number of taken names.
    static QString MakeCopyName(QString name, const std::function<bool(const QString&)>& exists);

    // The tag manager's backup: copy the catalogue to "tmp_groups.dat" (replacing it), or
    // remove it (OK). It is what a crash leaves to put back by hand; Cancel undoes through the
    // journal (UndoChanges).
    bool Backup() const;
    bool DiscardBackup() const;

    // From now on every change written through this object is also recorded in `journal`,
    // which starts from the lines the file holds now (nullptr: no journal).
    void SetJournal(CCatalogueJournal* journal);

    enum class EUndo
    {
        Undone,           // the changes are undone; nobody else wrote meanwhile
        UndoneKeptTheirs, // undone, and what other writers changed meanwhile stays
        Failed,           // nothing written: the file could not be read or rewritten
    };
    struct SUndoResult
    {
        EUndo outcome = EUndo::Failed;
        // Some change stays: another writer changed the same lines again.
        bool conflict = false;
    };
    // The tag manager's Cancel: under the lock, undoes exactly the changes the journal holds,
    // so that other writers' changes stay. When nobody else wrote, the file is again byte for
    // byte the backup (or, without one, the lines the journal started from). The backup is
    // removed unless the undo failed.
    SUndoResult UndoChanges(const CCatalogueJournal& journal) const;

    static QString Message(ECatalogueResult result, bool forGroup);
    // Why the last change that returned false (or WriteFailed, EMoveResult::WriteFailed)
    // failed: InUse when another program kept the catalogue locked (see CCatalogueLock),
    // else WriteFailed; and the message for it.
    ECatalogueResult WriteFailure() const;
    QString WriteFailureMessage() const;
    // The refusal NameRules gives `name` as a group (or a tag) name, as a result code; Ok
    // when it gives none.
    static ECatalogueResult CheckName(const QString& name, bool forGroup);

private:
    // A new name, already trimmed: EmptyName when nothing is left, else as CheckName.
    static ECatalogueResult CheckNewName(const QString& trimmed, bool forGroup);
    // Whether the lock is ours; remembers whether another program kept it.
    bool Held(const CCatalogueLock& lock) const;
    std::optional<QStringList> Lines() const;
    bool Rewrite(const std::function<void(QStringList&)>& change) const;
    ECatalogueResult InsertTag(const QString& group, const QString& tag, bool first) const;

    // Writes `after` in place of `before` (the file's lines as read under the lock) and
    // records the change in the journal.
    bool Store(const QStringList& before, const QStringList& after) const;

    QString m_path;
    QString m_backupPath;
    CCatalogueJournal* m_journal = nullptr;
    mutable bool m_busy = false;
};
