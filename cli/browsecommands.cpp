#include "cli/browsecommands.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/recordlength.h"
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
#include "store/recordstream.h"

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
    // Every group the record names, with its tags, each once, from the one parse of its block.
    for (const QString& group : record.groups) {
        QStringList tags;
        for (const SRecordTag& tag : record.tags) {
            if (tag.group == group && !tags.contains(tag.tag))
                tags.append(tag.tag);
        }
        summary.tags.append({group, tags});
    }
    // A record carries at most one task: the first line of its tasks section.
    if (!record.task.isEmpty())
        summary.task = record.task;
    summary.contacts.removeDuplicates();
    return summary;
}

// The length in whole seconds, as `info` gives it; null when it could not be measured.
QJsonValue Seconds(const SBrowsedRecord& record)
{
    if (!record.samples)
        return QJsonValue(QJsonValue::Null);
    return static_cast<qint64>(RecordLength::Seconds(*record.samples, CAudioManager::kSampleRate));
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

// One element of the array, indented as a document of the whole array would indent it.
void PrintJson(std::ostream& out, const QJsonObject& object)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            end = text.size();
        if (at > 0)
            out << '\n';
        out << "    ";
        out.write(text.constData() + at, end - at);
        at = end + 1;
    }
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
    // The sound server is no business of a listing: the engine is made only for a file whose
    // header needs a decoder.
    const RecordReader::DecoderOpener decoders = [&context](const std::string& path) {
        return context.Audio().OpenDecoder(path);
    };
    std::ostream& out = context.Out();
    // Each record is printed as it is read: the output of ten thousand records never waits
    // for, nor holds, all of them.
    if (line.Has("json")) {
        bool first = true;
        out << "[\n";
        RecordStream::Each(folders, query, RecordStream::ELength::Always, decoders,
                           [&](const SBrowsedRecord& record) {
                               out << (first ? "" : ",\n");
                               first = false;
                               PrintJson(out, ToJson(Summarise(record), Seconds(record)));
                           });
        out << (first ? "]\n" : "\n]\n");
        return 0;
    }
    RecordStream::Each(folders, query, RecordStream::ELength::WhereTheDateNeedsIt, decoders,
                       [&](const SBrowsedRecord& record) { PrintSummary(out, Summarise(record)); });
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
