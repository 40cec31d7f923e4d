#include "cli/storecommands.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/configkeys.h"
#include "cli/usageerror.h"
#include "store/recordcatalogue.h"
#include "store/recordinfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>

namespace {

// What the catalogue shows of one record.
struct SRecordSummary
{
    QString path;
    QString name;
    QList<QPair<QString, QStringList>> tags; // group -> its tags, in block order
    std::optional<QString> task;
    QStringList contacts;
};

SRecordSummary Summarise(const RecordEntry& entry)
{
    const QString block = RecordInfo::DecodeRecordInfo(entry.info);
    SRecordSummary summary{entry.path, entry.fileName, {}, std::nullopt, {}};
    QStringList groups;
    RecordInfo::ListRecordGroups(groups, block);
    for (const QString& group : groups) {
        QStringList tags;
        RecordInfo::ListRecordTagsOfGroup(tags, group, block);
        summary.tags.append({group, tags});
    }
    // A record carries at most one task: the first line of its tasks section.
    const QStringList tasks = RecordInfo::SectionLines(block, RecordInfo::kTasksHeader);
    if (!tasks.isEmpty() && !tasks.front().startsWith('['))
        summary.task = tasks.front().trimmed();
    RecordInfo::ListRecordContacts(summary.contacts, block);
    return summary;
}

QJsonObject ToJson(const SRecordSummary& summary)
{
    QJsonObject tags;
    for (const auto& [group, names] : summary.tags)
        tags.insert(group, QJsonArray::fromStringList(names));
    return QJsonObject{
        {"path", summary.path},
        {"name", summary.name},
        {"tags", tags},
        {"task", summary.task ? QJsonValue(*summary.task) : QJsonValue(QJsonValue::Null)},
        {"contacts", QJsonArray::fromStringList(summary.contacts)},
    };
}

void PrintSummary(std::ostream& out, const SRecordSummary& summary)
{
    out << summary.path.toStdString() << '\n' << "  name: " << summary.name.toStdString() << '\n';
    for (const auto& [group, names] : summary.tags) {
        out << "  tags [" << group.toStdString() << "]: " << names.join(", ").toStdString() << '\n';
    }
    if (summary.task)
        out << "  task: " << summary.task->toStdString() << '\n';
    if (!summary.contacts.isEmpty())
        out << "  contacts: " << summary.contacts.join(", ").toStdString() << '\n';
}

void PrintLines(std::ostream& out, const QStringList& lines)
{
    for (const QString& line : lines)
        out << line.toStdString() << '\n';
}

bool IsRecord(CTagger& tagger, const std::string& path)
{
    try {
        return RecordInfo::HasMarker(QByteArray::fromStdString(tagger.ReadRecordInfo(path)));
    } catch (const CAudioError&) {
        // Not a record file of a known format (or not readable as one).
        return false;
    }
}

} // namespace

std::vector<SCommand> CStoreCommands::Table()
{
    return {
        {"list", "[--json]", "the records of every record folder", {{"json"}}, &List},
        {"delete", "PATH", "delete a record", {}, &Delete},
        {"locations", "list\nadd NAME", "the named locations", {}, &Locations, "list|add NAME"},
        {"contacts", "", "the contacts of the contacts-and-tasks folder", {}, &Contacts},
        {"tasks", "", "the tasks of the contacts-and-tasks folder", {}, &Tasks},
        {"storages", "", "the storages a record can be placed on", {}, &Storages},
        {"config",
         "list\nget KEY\nset KEY VALUE",
         "the stored settings (keys: Slot1..Slot4, Format, Storage, AppPath, PimFolder)",
         {},
         &Config,
         "list|get KEY|set KEY VALUE"},
    };
}

int CStoreCommands::List(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    const QStringList folders = context.Store().Storage().EnumerateRecordFolders();
    const RecordList records = BuildRecordList(folders, context.Audio().GetTagger());
    if (line.Has("json")) {
        QJsonArray array;
        for (const RecordEntry& entry : records)
            array.append(ToJson(Summarise(entry)));
        context.Out() << QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
        return 0;
    }
    for (const RecordEntry& entry : records)
        PrintSummary(context.Out(), Summarise(entry));
    return 0;
}

int CStoreCommands::Delete(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    const std::string& path = line.Positionals()[0];
    // Only what the catalogue would list may be deleted: a mistyped path must not cost
    // the user an unrelated file.
    if (!IsRecord(context.Audio().GetTagger(), path))
        throw CCommandFailure(path + ": not a record; nothing deleted");
    const EDeleteResult result = DeleteRecord(QString::fromStdString(path));
    if (result != EDeleteResult::Deleted)
        throw CCommandFailure(DeleteRecordMessage(result).toStdString());
    return 0;
}

int CStoreCommands::Locations(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 2);
    const std::string& sub = line.Positionals()[0];
    const CLocationList& locations = context.Store().Locations();
    if (sub == "list") {
        line.ExpectPositionals(1, 1);
        PrintLines(context.Out(), locations.FillLocations());
        return 0;
    }
    if (sub != "add")
        throw CUsageError("unknown locations subcommand '" + sub + "'");
    line.ExpectPositionals(2, 2);
    const QString name = QString::fromStdString(line.Positionals()[1]).trimmed();
    // A nameless line would show as an empty row that cannot be told from the others.
    if (name.isEmpty())
        throw CCommandFailure(CTagCatalogue::kMsgEnterName);
    if (!locations.AddLocation(name))
        throw CCommandFailure("The locations file could not be saved.");
    return 0;
}

int CStoreCommands::Contacts(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    QStringList contacts;
    context.Store().Pim().FillContacts(contacts);
    PrintLines(context.Out(), contacts);
    return 0;
}

int CStoreCommands::Tasks(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    QStringList tasks;
    context.Store().Pim().FillTasks(tasks);
    PrintLines(context.Out(), tasks);
    return 0;
}

int CStoreCommands::Storages(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    PrintLines(context.Out(), context.Store().Storage().StorageList());
    return 0;
}

int CStoreCommands::Config(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 3);
    const std::string& sub = line.Positionals()[0];
    CConfigKeys keys(context.Store(), [&context](EWaveDirection direction) {
        return context.Audio().GetWaveBackend().Devices(direction);
    });
    if (sub == "list") {
        line.ExpectPositionals(1, 1);
        for (const std::string_view key : CConfigKeys::Names())
            context.Out() << key << '=' << keys.Get(key).toStdString() << '\n';
        return 0;
    }
    if (sub == "get") {
        line.ExpectPositionals(2, 2);
        context.Out() << keys.Get(line.Positionals()[1]).toStdString() << '\n';
        return 0;
    }
    if (sub == "set") {
        line.ExpectPositionals(3, 3);
        keys.Set(line.Positionals()[1], QString::fromStdString(line.Positionals()[2]));
        return 0;
    }
    throw CUsageError("unknown config subcommand '" + sub + "'");
}
