#include "cli/exchangecommands.h"

#include "audio/audiomanager.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/stopsignal.h"
#include "cli/usageerror.h"
#include "exchange/recordexporter.h"
#include "exchange/recordimporter.h"

#include <ostream>

namespace {

// SIGINT and SIGTERM cancel the transfer, which then leaves nothing behind.
TransferProgress StopOn(const CStopSignal& stop)
{
    return [&stop](std::uint64_t, std::uint64_t) {
        return !stop.Raised();
    };
}

} // namespace

std::vector<SCommand> CExchangeCommands::Table()
{
    return {
        {"export",
         "FILE OUT [--force]",
         "write a record to OUT as .wav (16-bit), .flac, .opus or .mp3, with its name, date and "
         "information as tags",
         {{"force"}},
         &Export},
        {"import",
         "FILE [--storage S] [--format 0..5]",
         "make a record of an audio file in the storage's data folder; prints its path",
         {{"storage", true}, {"format", true}},
         &Import},
    };
}

int CExchangeCommands::Export(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(2, 2);
    const QString record = QString::fromStdString(line.Positionals()[0]);
    const QString out = QString::fromStdString(line.Positionals()[1]);
    if (!CRecordExporter::FormatOfPath(out))
        throw CUsageError("OUT must end in " + CRecordExporter::Extensions().toStdString());
    const CStopSignal stop;
    const CRecordExporter::SResult result =
        CRecordExporter(context.Audio()).Export(record, out, line.Has("force"), StopOn(stop));
    if (result.status == CRecordExporter::EStatus::Exists)
        throw CCommandFailure(result.message.toStdString() + " (--force replaces it)");
    if (!result.Ok())
        throw CCommandFailure(result.message.toStdString());
    context.Out() << out.toStdString() << '\n';
    return 0;
}

int CExchangeCommands::Import(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    CCliStore& store = context.Store();
    const int format = static_cast<int>(
        line.NumberValue("format", 0, kRecordingFormats.size() - 1).value_or(store.Format()));
    const QString storage = line.Value("storage") ? QString::fromStdString(*line.Value("storage"))
                                                  : store.Settings().Storage();
    const QString folder = store.DataFolderOf(storage);
    const CStopSignal stop;
    const CRecordImporter::SResult result =
        CRecordImporter(context.Audio())
            .Import(QString::fromStdString(line.Positionals()[0]), folder, format, StopOn(stop));
    if (!result.Ok())
        throw CCommandFailure(result.message.toStdString());
    context.Out() << result.path.toStdString() << '\n';
    return 0;
}
