#include "cli/browsecommands.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/listfilter.h"
#include "cli/listoutput.h"
#include "platform/home.h"
#include "store/lengthcache.h"
#include "store/nativepath.h"
#include "store/recordbrowser.h"
#include "store/recordcatalogue.h"
#include "store/recordinfo.h"
#include "store/recordrename.h"
#include "store/recordstream.h"

#include <ostream>

namespace {

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
    std::string text;
    if (line.Has("json")) {
        // Each Speex memo's length is read from its tail once, then known while the file stays
        // as it was.
        CLengthCache lengths(Home::CacheFolder() + QStringLiteral("lengths.cache"));
        bool first = true;
        out << "[\n";
        RecordStream::Each(
            folders, query, RecordStream::ELength::Always, decoders,
            [&](const SBrowsedRecord& record) {
                text.assign(first ? "" : ",\n");
                first = false;
                ListOutput::AppendJson(text, record);
                out.write(text.data(), static_cast<std::streamsize>(text.size()));
            },
            &lengths);
        out << (first ? "]\n" : "\n]\n");
        // A cache that cannot be written costs the next listing its reads, and nothing else.
        lengths.Save();
        return 0;
    }
    RecordStream::Each(folders, query, RecordStream::ELength::WhereTheDateNeedsIt, decoders,
                       [&](const SBrowsedRecord& record) {
                           text.clear();
                           ListOutput::AppendText(text, record);
                           out.write(text.data(), static_cast<std::streamsize>(text.size()));
                       });
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
