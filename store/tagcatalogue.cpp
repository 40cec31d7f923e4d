#include "store/tagcatalogue.h"

#include "store/cataloguejournal.h"
#include "store/cataloguelock.h"
#include "store/linefile.h"
#include "store/namerules.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

const QStringList kDefaultLines{QStringLiteral("[Priority]"), QStringLiteral("Important"),
                                QStringLiteral("Normal"), QStringLiteral("Inessential")};

// Beyond this many taken copy names there is no point in looking further.
constexpr int kMaxCopyAttempts = 100000;
constexpr int kMaxCopyDigits = 4;

bool IsGroupLine(const QString& line)
{
    return line.contains(u'[') || line.contains(u']');
}

QString GroupName(const QString& line)
{
    return line.size() >= 2 ? line.mid(1, line.size() - 2) : QString();
}

bool IsGroupLineOf(const QString& line, const QString& group)
{
    return IsGroupLine(line) && GroupName(line) == group;
}

QString GroupLine(const QString& group)
{
    return u'[' + group + u']';
}

// Calls `visit(index)` for every tag line under a group line named `group`.
template <typename Visit>
void ForEachTagLine(const QStringList& lines, const QString& group, Visit visit)
{
    bool inGroup = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsGroupLine(lines[i]))
            inGroup = GroupName(lines[i]) == group;
        else if (inGroup)
            visit(i);
    }
}

// The group's non-empty tag lines, each once, in the file's order. A set keeps this
// linear in a group of thousands of tags.
QStringList UniqueTagLines(const QStringList& lines, const QString& group)
{
    QStringList tags;
    QSet<QString> present;
    ForEachTagLine(lines, group, [&](qsizetype i) {
        if (!lines[i].isEmpty() && !present.contains(lines[i])) {
            present.insert(lines[i]);
            tags.append(lines[i]);
        }
    });
    return tags;
}

// The index of the first group line named `group`, or -1.
qsizetype FindGroupLine(const QStringList& lines, const QString& group)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsGroupLineOf(lines[i], group))
            return i;
    }
    return -1;
}

bool CopyWhole(const QString& from, const QString& to)
{
    const std::optional<QByteArray> bytes = LineFile::ReadBytes(from);
    return bytes && LineFile::ReplaceBytes(to, *bytes);
}

} // namespace

CTagCatalogue::CTagCatalogue(const QString& folder)
{
    const QString base = folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
    m_path = base + QLatin1String(kFileName);
    m_backupPath = base + QLatin1String(kBackupFileName);
}

bool CTagCatalogue::Held(const CCatalogueLock& lock) const
{
    m_busy = lock.Busy();
    return lock.Held();
}

ECatalogueResult CTagCatalogue::WriteFailure() const
{
    return m_busy ? ECatalogueResult::InUse : ECatalogueResult::WriteFailed;
}

QString CTagCatalogue::WriteFailureMessage() const
{
    return Message(WriteFailure(), false);
}

std::optional<QStringList> CTagCatalogue::Lines() const
{
    return LineFile::Read(m_path);
}

bool CTagCatalogue::Rewrite(const std::function<void(QStringList&)>& change) const
{
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return false;
    const std::optional<QStringList> lines = Lines();
    if (!lines)
        return false;
    QStringList changed = *lines;
    change(changed);
    if (changed == *lines)
        return true;
    return Store(*lines, changed);
}

bool CTagCatalogue::Store(const QStringList& before, const QStringList& after) const
{
    if (!LineFile::Replace(m_path, after))
        return false;
    if (m_journal)
        m_journal->Record(before, after);
    return true;
}

bool CTagCatalogue::EnsureDefaultGroups() const
{
    if (Lines())
        return true;
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return false;
    if (Lines())
        return true; // another process made it meanwhile
    // Something there that cannot be read (a FIFO, a folder) is never replaced.
    if (QFileInfo(m_path).exists())
        return false;
    return LineFile::Replace(m_path, kDefaultLines) && Lines().has_value();
}

bool CTagCatalogue::GroupExists(const QString& name) const
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return true;
    return ListGroups().contains(trimmed);
}

ECatalogueResult CTagCatalogue::AddGroup(const QString& name) const
{
    const QString trimmed = name.trimmed();
    if (const ECatalogueResult refusal = CheckNewName(trimmed, true);
        refusal != ECatalogueResult::Ok)
        return refusal;
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return lock.Busy() ? ECatalogueResult::InUse : ECatalogueResult::WriteFailed;
    // A missing file is created by the first group, as appending would; a file that exists
    // but cannot be read is never replaced.
    const std::optional<QStringList> read = Lines();
    if (!read && QFile::exists(m_path))
        return ECatalogueResult::WriteFailed;
    const QStringList lines = read.value_or(QStringList{});
    for (const QString& line : lines) {
        if (IsGroupLineOf(line, trimmed))
            return ECatalogueResult::AlreadyExists;
    }
    if (!Store(lines, lines + QStringList{GroupLine(trimmed)}))
        return ECatalogueResult::WriteFailed;
    return ECatalogueResult::Ok;
}

ECatalogueResult CTagCatalogue::CopyGroup(const QString& source, const QString& name) const
{
    const QString trimmed = name.trimmed();
    if (const ECatalogueResult refusal = CheckNewName(trimmed, true);
        refusal != ECatalogueResult::Ok)
        return refusal;
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return lock.Busy() ? ECatalogueResult::InUse : ECatalogueResult::WriteFailed;
    std::optional<QStringList> lines = Lines();
    if (!lines || FindGroupLine(*lines, source) < 0)
        return ECatalogueResult::WriteFailed;
    if (FindGroupLine(*lines, trimmed) >= 0)
        return ECatalogueResult::AlreadyExists;
    const QStringList copy = QStringList{GroupLine(trimmed)} + UniqueTagLines(*lines, source);
    return Store(*lines, *lines + copy) ? ECatalogueResult::Ok : ECatalogueResult::WriteFailed;
}

bool CTagCatalogue::DeleteGroup(const QString& name) const
{
    return Rewrite([&name](QStringList& lines) {
        QStringList kept;
        bool inGroup = false;
        for (const QString& line : lines) {
            if (IsGroupLine(line))
                inGroup = GroupName(line) == name;
            if (!inGroup)
                kept.append(line);
        }
        lines = kept;
    });
}

bool CTagCatalogue::RenameGroup(const QString& oldName, const QString& newName) const
{
    if (CheckName(newName, true) != ECatalogueResult::Ok)
        return false;
    return Rewrite([&](QStringList& lines) {
        for (QString& line : lines) {
            if (IsGroupLineOf(line, oldName))
                line = GroupLine(newName);
        }
    });
}

bool CTagCatalogue::TagExists(const QString& group, const QString& tag) const
{
    const QStringList lines = Lines().value_or(QStringList{});
    bool found = false;
    ForEachTagLine(lines, group, [&](qsizetype i) { found = found || lines[i] == tag; });
    return found;
}

ECatalogueResult CTagCatalogue::InsertTag(const QString& group, const QString& tag,
                                          bool first) const
{
    if (tag.contains(u'[') || tag.contains(u']'))
        return ECatalogueResult::InvalidName;
    const QString trimmed = tag.trimmed();
    if (const ECatalogueResult refusal = CheckNewName(trimmed, false);
        refusal != ECatalogueResult::Ok)
        return refusal;
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return lock.Busy() ? ECatalogueResult::InUse : ECatalogueResult::WriteFailed;
    std::optional<QStringList> lines = Lines();
    if (!lines)
        return ECatalogueResult::WriteFailed;
    bool exists = false;
    ForEachTagLine(*lines, group, [&](qsizetype i) { exists = exists || (*lines)[i] == trimmed; });
    if (exists)
        return ECatalogueResult::AlreadyExists;

    qsizetype at = lines->size();
    const qsizetype groupLine = FindGroupLine(*lines, group);
    if (groupLine >= 0) {
        at = groupLine + 1;
        if (!first) {
            while (at < lines->size() && !IsGroupLine((*lines)[at]))
                ++at;
        }
    }
    QStringList changed = *lines;
    changed.insert(at, trimmed);
    return Store(*lines, changed) ? ECatalogueResult::Ok : ECatalogueResult::WriteFailed;
}

ECatalogueResult CTagCatalogue::AddTag(const QString& group, const QString& tag) const
{
    return InsertTag(group, tag, false);
}

ECatalogueResult CTagCatalogue::AddTagFirst(const QString& group, const QString& tag) const
{
    return InsertTag(group, tag, true);
}

bool CTagCatalogue::DeleteTag(const QString& group, const QString& tag) const
{
    return Rewrite([&](QStringList& lines) {
        QList<qsizetype> doomed;
        ForEachTagLine(lines, group, [&](qsizetype i) {
            if (lines[i] == tag)
                doomed.append(i);
        });
        for (auto it = doomed.crbegin(); it != doomed.crend(); ++it)
            lines.removeAt(*it);
    });
}

bool CTagCatalogue::RenameTag(const QString& group, const QString& oldTag,
                              const QString& newTag) const
{
    if (CheckName(newTag, false) != ECatalogueResult::Ok)
        return false;
    return Rewrite([&](QStringList& lines) {
        ForEachTagLine(lines, group, [&](qsizetype i) {
            if (lines[i] == oldTag)
                lines[i] = newTag;
        });
    });
}

EMoveResult CTagCatalogue::MoveTagDown(const QString& group, const QString& tag) const
{
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return EMoveResult::WriteFailed;
    std::optional<QStringList> lines = Lines();
    if (!lines)
        return EMoveResult::WriteFailed;
    qsizetype at = -1;
    ForEachTagLine(*lines, group, [&](qsizetype i) {
        if (at < 0 && (*lines)[i] == tag)
            at = i;
    });
    if (at < 0 || at + 1 >= lines->size() || IsGroupLine((*lines)[at + 1]))
        return EMoveResult::NotMoved;
    QStringList changed = *lines;
    changed.swapItemsAt(at, at + 1);
    return Store(*lines, changed) ? EMoveResult::Moved : EMoveResult::WriteFailed;
}

QStringList CTagCatalogue::ListGroups() const
{
    QStringList groups;
    for (const QString& line : Lines().value_or(QStringList{})) {
        if (IsGroupLine(line))
            groups.append(GroupName(line));
    }
    return groups;
}

QList<QPair<QString, QStringList>> CTagCatalogue::ListAll() const
{
    // One pass over the file: the tags of every group name, then each group line with them.
    QStringList order;
    QHash<QString, QStringList> tagsOf;
    QStringList* current = nullptr;
    for (const QString& line : Lines().value_or(QStringList{})) {
        if (IsGroupLine(line)) {
            order.append(GroupName(line));
            current = &tagsOf[order.back()];
        } else if (current != nullptr) {
            current->append(line);
        }
    }
    QList<QPair<QString, QStringList>> groups;
    groups.reserve(order.size());
    for (const QString& name : order)
        groups.append({name, name.isEmpty() ? QStringList{} : tagsOf.value(name)});
    return groups;
}

QStringList CTagCatalogue::ListTagsOfGroup(const QString& group) const
{
    QStringList tags;
    if (group.isEmpty())
        return tags;
    const QStringList lines = Lines().value_or(QStringList{});
    ForEachTagLine(lines, group, [&](qsizetype i) { tags.append(lines[i]); });
    return tags;
}

QStringList CTagCatalogue::UniqueTagsOfGroup(const QString& group) const
{
    return UniqueTagLines(Lines().value_or(QStringList{}), group);
}

QString CTagCatalogue::MakeCopyName(const QString& name) const
{
    // The groups are read once: a group with thousands of numbered copies must not make
    // every candidate read the whole file again.
    const QStringList list = ListGroups();
    const QSet<QString> groups(list.begin(), list.end());
    return MakeCopyName(name, [&groups](const QString& candidate) {
        const QString trimmed = candidate.trimmed();
        return trimmed.isEmpty() || groups.contains(trimmed);
    });
}

QString CTagCatalogue::MakeCopyName(QString name, const std::function<bool(const QString&)>& exists)
{
    for (int attempt = 0; attempt < kMaxCopyAttempts; ++attempt) {
        qsizetype digits = 0;
        while (digits < kMaxCopyDigits && digits < name.size() &&
               name[name.size() - 1 - digits].unicode() >= u'0' &&
               name[name.size() - 1 - digits].unicode() <= u'9')
            ++digits;
        if (digits > 0) {
            const int next = name.right(digits).toInt() + 1;
            name.chop(digits);
            if (next < 10)
                name += u'0';
            name += QString::number(next);
        } else if (name.size() >= kMaxCopyNameLength - 1) {
            name = name.left(name.size() - 2) + QStringLiteral("00");
        } else {
            name += QStringLiteral("01");
        }
        name.truncate(kMaxCopyNameLength);
        if (!exists(name))
            break;
    }
    return name;
}

bool CTagCatalogue::Backup() const
{
    return CopyWhole(m_path, m_backupPath);
}

void CTagCatalogue::SetJournal(CCatalogueJournal* journal)
{
    m_journal = journal;
    if (m_journal)
        m_journal->Start(Lines().value_or(QStringList{}));
}

CTagCatalogue::SUndoResult CTagCatalogue::UndoChanges(const CCatalogueJournal& journal) const
{
    // A backup that cannot be removed below is harmless: the next opening replaces it.
    // Nothing changed here: whatever others wrote meanwhile simply stays.
    if (journal.IsEmpty()) {
        DiscardBackup();
        return {EUndo::Undone, false};
    }
    const CCatalogueLock lock(m_path);
    if (!Held(lock))
        return {};
    const std::optional<QStringList> current = Lines();
    if (!current)
        return {};
    const CCatalogueJournal::SUndo undo = journal.Undo(*current);
    bool written = undo.lines == *current;
    if (!written && !undo.foreign) {
        // Nobody else wrote: the backup's very bytes (line ends and all) go back, provided it
        // still holds those lines (another tag manager may have taken a backup since). The
        // copy is read back before it counts as made.
        const std::optional<QByteArray> backup = LineFile::ReadBytes(m_backupPath);
        if (backup && LineFile::Read(m_backupPath) == undo.lines)
            written =
                LineFile::ReplaceBytes(m_path, *backup) && LineFile::ReadBytes(m_path) == backup;
    }
    if (!written)
        written = LineFile::Replace(m_path, undo.lines);
    if (!written)
        return {};
    DiscardBackup();
    return {undo.foreign ? EUndo::UndoneKeptTheirs : EUndo::Undone, undo.conflict};
}

bool CTagCatalogue::DiscardBackup() const
{
    QFile backup(m_backupPath);
    return !backup.exists() || backup.remove();
}

QString CTagCatalogue::Message(ECatalogueResult result, bool forGroup)
{
    switch (result) {
    case ECatalogueResult::Ok:
        return {};
    case ECatalogueResult::AlreadyExists:
        return QCoreApplication::translate("CTagCatalogue",
                                           forGroup ? kMsgGroupExists : kMsgTagExists);
    case ECatalogueResult::EmptyName:
        return QCoreApplication::translate("CTagCatalogue", kMsgEnterName);
    case ECatalogueResult::InvalidName:
        return forGroup ? NameRules::Message(NameRules::EKind::Group, NameRules::EProblem::Brackets)
                        : QCoreApplication::translate("CTagCatalogue", kMsgTagBrackets);
    case ECatalogueResult::ControlCharacter:
        return NameRules::Message(forGroup ? NameRules::EKind::Group : NameRules::EKind::Tag,
                                  NameRules::EProblem::ControlCharacter);
    case ECatalogueResult::ReservedName:
        return NameRules::Message(NameRules::EKind::Group, NameRules::EProblem::ReservedGroup);
    case ECatalogueResult::TooLong:
        return NameRules::Message(forGroup ? NameRules::EKind::Group : NameRules::EKind::Tag,
                                  NameRules::EProblem::TooLong);
    case ECatalogueResult::WriteFailed:
    case ECatalogueResult::InUse:
        return CCatalogueLock::FailureMessage(
            QCoreApplication::translate("CTagCatalogue", kMsgWriteFailed),
            result == ECatalogueResult::InUse);
    }
    return {};
}

ECatalogueResult CTagCatalogue::CheckNewName(const QString& trimmed, bool forGroup)
{
    return trimmed.isEmpty() ? ECatalogueResult::EmptyName : CheckName(trimmed, forGroup);
}

ECatalogueResult CTagCatalogue::CheckName(const QString& name, bool forGroup)
{
    using NameRules::EProblem;
    switch (NameRules::Check(forGroup ? NameRules::EKind::Group : NameRules::EKind::Tag, name)) {
    case EProblem::None:
    case EProblem::Tilde:
        return ECatalogueResult::Ok;
    case EProblem::ControlCharacter:
        return ECatalogueResult::ControlCharacter;
    case EProblem::Brackets:
        return ECatalogueResult::InvalidName;
    case EProblem::ReservedGroup:
        return ECatalogueResult::ReservedName;
    case EProblem::TooLong:
        return ECatalogueResult::TooLong;
    }
    return ECatalogueResult::Ok;
}
