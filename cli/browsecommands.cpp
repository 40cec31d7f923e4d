#include "cli/browsecommands.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/listfilter.h"
#include "store/nativepath.h"
#include "store/recordbrowser.h"
#include "store/recordcatalogue.h"
#include "store/recordinfo.h"
#include "store/recordrename.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>

namespace {

// What the list shows of one record.
struct SRecordSummary
{
    std::filesystem::path path; // printed as it is; in JSON, which takes only text, as shown
    QString name;
    QString recorded;                        // local, "2027-01-04T07:00:00"; empty when unknown
    QList<QPair<QString, QStringList>> tags; // group -> its tags, in block order
    std::optional<QString> task;
    QStringList contacts;
};

SRecordSummary Summarise(const SBrowsedRecord& record)
{
    SRecordSummary summary{record.path, record.fileName, {}, {}, std::nullopt, record.contacts};
    if (record.recorded.isValid())
        summary.recorded = record.recorded.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    QStringList groups;
    RecordInfo::ListRecordGroups(groups, record.info);
    for (const QString& group : groups) {
        QStringList tags;
        RecordInfo::ListRecordTagsOfGroup(tags, group, record.info);
        summary.tags.append({group, tags});
    }
    // A record carries at most one task: the first line of its tasks section.
    if (!record.task.isEmpty())
        summary.task = record.task;
    summary.contacts.removeDuplicates();
    return summary;
}

// The length in whole seconds; null when the file cannot be measured (it vanished, or its
// audio is broken beyond what the decoder reads).
QJsonValue Seconds(CAudioManager& audio, const std::filesystem::path& path)
{
    try {
        return static_cast<qint64>(audio.GetRecordLength(path.native()));
    } catch (const CAudioError&) {
        return QJsonValue(QJsonValue::Null);
    }
}

QJsonObject ToJson(const SRecordSummary& summary, const QJsonValue& seconds)
{
    QJsonObject tags;
    for (const auto& [group, names] : summary.tags)
        tags.insert(group, QJsonArray::fromStringList(names));
    return QJsonObject{
        {"path", NativePath::Display(summary.path)},
        {"name", summary.name},
        {"recorded",
         summary.recorded.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(summary.recorded)},
        {"seconds", seconds},
        {"tags", tags},
        {"task", summary.task ? QJsonValue(*summary.task) : QJsonValue(QJsonValue::Null)},
        {"contacts", QJsonArray::fromStringList(summary.contacts)},
    };
}

void PrintSummary(std::ostream& out, const SRecordSummary& summary)
{
    out << summary.path.native() << '\n' << "  name: " << summary.name.toStdString() << '\n';
    if (!summary.recorded.isEmpty())
        out << "  recorded: " << summary.recorded.toStdString() << '\n';
    for (const auto& [group, names] : summary.tags) {
        out << "  tags [" << group.toStdString() << "]: " << names.join(", ").toStdString() << '\n';
    }
    if (summary.task)
        out << "  task: " << summary.task->toStdString() << '\n';
    if (!summary.contacts.isEmpty())
        out << "  contacts: " << summary.contacts.join(", ").toStdString() << '\n';
}

// Only what the catalogue would list may be renamed or deleted: a mistyped path must not
// cost the user an unrelated file. The record where it really is, by its bytes.
std::filesystem::path RequireRecord(CCliContext& context, const std::string& path)
{
    const std::filesystem::path record = context.Store().RecordInFolders(path);
    CTagger& tagger = context.Audio().GetTagger();
    bool marked = false;
    try {
        marked = RecordInfo::HasMarker(QByteArray::fromStdString(tagger.ReadRecordInfo(record)));
    } catch (const CAudioError&) {
        // Not a record file of a known format (or not readable as one).
    }
    if (!marked)
        throw CCommandFailure(path + ": not a record; nothing changed");
    return record;
}

} // namespace

std::vector<SCommand> CBrowseCommands::Table()
{
    return {
        {"list",
         "[--json] [--period all|today|yesterday|week|month] [--from YYYY-MM-DD --to "
         "YYYY-MM-DD] [--task SUBJECT] [--contact NAME]... [--tag GROUP=TAG]... [--search TEXT]",
         "the records of every record folder, oldest first, narrowed by the filters given",
         {{"json"},
          {"period", true},
          {"from", true},
          {"to", true},
          {"task", true},
          {"contact", true, true},
          {"tag", true, true},
          {"search", true}},
         &List,
         "[--json] [--period P] [--from DAY --to DAY] [--task T] [--contact C] [--tag G=T] "
         "[--search TEXT]"},
        {"rename",
         "PATH NAME",
         "rename a record within its folder; prints the new path",
         {},
         &Rename},
        {"delete",
         "PATH [--permanent]",
         "move a record to the trash (--permanent: delete it for good)",
         {{"permanent"}},
         &Delete},
    };
}

int CBrowseCommands::List(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    const SRecordQuery query = CListFilter::Query(line, QDate::currentDate());
    const QStringList folders = context.Store().Storage().EnumerateRecordFolders();
    const CRecordBrowser browser(BuildRecordList(folders, context.Audio().GetTagger()));
    const std::vector<int> listed = browser.Records(query);
    if (line.Has("json")) {
        QJsonArray array;
        for (const int i : listed) {
            const SBrowsedRecord& record = browser.Record(i);
            array.append(ToJson(Summarise(record), Seconds(context.Audio(), record.path)));
        }
        context.Out() << QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
        return 0;
    }
    for (const int i : listed)
        PrintSummary(context.Out(), Summarise(browser.Record(i)));
    return 0;
}

int CBrowseCommands::Rename(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(2, 2);
    const std::filesystem::path record = RequireRecord(context, line.Positionals()[0]);
    const RecordRename::SResult result =
        RecordRename::Rename(record, QString::fromStdString(line.Positionals()[1]));
    if (result.status != RecordRename::EStatus::Renamed)
        throw CCommandFailure(result.message.toStdString());
    context.Out() << result.newPath.native() << '\n';
    return 0;
}

int CBrowseCommands::Delete(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    const std::string& path = line.Positionals()[0];
    const std::filesystem::path record = RequireRecord(context, path);
    const bool permanent = line.Has("permanent");
    // Without a trash, deleting for good must be asked for: a mistaken delete could not be
    // undone.
    if (!permanent && DeleteDisposal(record) == EDisposal::Permanent)
        throw CCommandFailure(path + ": this volume has no trash; nothing deleted (--permanent "
                                     "deletes the record for good)");
    const EDeleteResult result =
        DisposeRecord(record, permanent ? EDisposal::Permanent : EDisposal::Trash);
    if (result != EDeleteResult::Deleted)
        throw CCommandFailure(DeleteRecordMessage(result).toStdString());
    return 0;
}
