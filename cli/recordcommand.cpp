#include "cli/recordcommand.h"

#include "audio/audiomanager.h"
#include "audio/recorder.h"
#include "audio/timeleft.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/enginecommands.h"
#include "cli/infotext.h"
#include "cli/recordslots.h"
#include "cli/stopsignal.h"
#include "cli/usageerror.h"
#include "platform/freespace.h"
#include "store/recordinfo.h"
#include "store/recordingsession.h"
#include "store/storage.h"

#include <QDateTime>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace {

// A day: long enough for any memo, and far below the 32-bit length fields of a WAV.
constexpr std::uint64_t kMostSeconds = 24 * 60 * 60;

std::string LowerExtension(std::string_view path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool IsPcmFormat(int format)
{
    return kRecordingFormats[format].codec == Codec::Pcm;
}

std::string FolderOf(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// How long the command waits for the sample count before it looks at the stop signal
// and the session's other ends again: short enough that an interruption acts at once.
constexpr std::chrono::milliseconds kPollPeriod{20};

} // namespace

SCommand CRecordCommand::Entry()
{
    return {"record",
            "OUT --seconds N [--format 0..5] [--info TEXT | --info-file F] [--input NAME]\n"
            "--seconds N [--format 0..5] [--storage S] [--tag GROUP=TAG]... "
            "[--task SUBJECT] [--contact NAME]... [--input NAME]",
            "record N seconds into OUT, or into a new record of the data folder",
            {{"seconds", true},
             {"format", true},
             {"info", true},
             {"info-file", true},
             {"storage", true},
             {"tag", true, true},
             {"task", true},
             {"contact", true, true},
             {"input", true}},
            &Run};
}

int CRecordCommand::Run(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 1);
    if (!line.Has("seconds"))
        throw CUsageError("--seconds N is required");
    if (line.Positionals().empty())
        return RecordToStore(context, line);
    return RecordToFile(context, line);
}

int CRecordCommand::FormatForPath(std::string_view path, std::optional<int> requested, int stored)
{
    const std::string extension = LowerExtension(path);
    bool wantPcm = false;
    if (extension == ".wav") {
        wantPcm = true;
    } else if (extension != ".ogg") {
        throw CUsageError("OUT must end in .wav (format 0) or .ogg (formats 1 to 5)");
    }
    if (requested) {
        if (IsPcmFormat(*requested) != wantPcm) {
            throw CUsageError(wantPcm ? "a .wav file takes format 0; use .ogg for formats 1 to 5"
                                      : "an .ogg file takes formats 1 to 5; use .wav for format 0");
        }
        return *requested;
    }
    const bool storedValid = stored >= 0 && stored < static_cast<int>(kRecordingFormats.size());
    if (storedValid && IsPcmFormat(stored) == wantPcm)
        return stored;
    return wantPcm ? 0 : 1;
}

int CRecordCommand::RecordToFile(CCliContext& context, const CCommandLine& line)
{
    for (const char* storeOption : {"storage", "tag", "task", "contact"}) {
        if (line.Has(storeOption)) {
            throw CUsageError(std::string("--") + storeOption +
                              " composes a record of the data folder; leave out OUT");
        }
    }
    const std::string& path = line.Positionals()[0];
    const std::uint64_t seconds = *line.NumberValue("seconds", 1, kMostSeconds);
    const auto requested = line.NumberValue("format", 0, kRecordingFormats.size() - 1);
    const int format = FormatForPath(
        path, requested ? std::optional<int>(static_cast<int>(*requested)) : std::nullopt,
        CCliStore::StoredFormat());
    const std::string info = InfoText::FromOptions(line);

    const std::string folder = FolderOf(path);
    if (!std::filesystem::is_directory(folder))
        throw CCommandFailure("The folder " + folder + " does not exist; nothing recorded");

    context.Audio().ApplyFormat(format);
    CRecordingSession::SRequest request;
    request.info = QByteArray::fromStdString(info);
    request.nextPath = [&path] {
        return SRecordPath{QString::fromStdString(path), {}};
    };
    request.fixedName = true;
    request.freeBytes = [folder] {
        return FreeBytesAt(folder);
    };
    return Record(context, line, request, seconds);
}

int CRecordCommand::RecordToStore(CCliContext& context, const CCommandLine& line)
{
    for (const char* fileOption : {"info", "info-file"}) {
        if (line.Has(fileOption)) {
            throw CUsageError(std::string("--") + fileOption +
                              " needs OUT; a placed record's information comes from --tag, "
                              "--task and --contact");
        }
    }
    const std::uint64_t seconds = *line.NumberValue("seconds", 1, kMostSeconds);
    CCliStore& store = context.Store();
    const int format = static_cast<int>(
        line.NumberValue("format", 0, kRecordingFormats.size() - 1).value_or(store.Format()));
    const QString storage = line.Value("storage") ? QString::fromStdString(*line.Value("storage"))
                                                  : store.Settings().Storage();
    if (!store.Storage().StorageList().contains(storage))
        throw CCommandFailure("The storage \"" + storage.toStdString() + "\" is not present.");

    // The order of the program's record start: the information first (a block that does
    // not fit records nothing), then the free space, then the path.
    const std::optional<QByteArray> area =
        RecordInfo::ComposeRecordInfo(RecordSlots::FromOptions(line, store));
    if (!area)
        throw CCommandFailure(RecordInfo::kMsgDoesNotFit);

    CAudioManager& audio = context.Audio();
    audio.ApplyFormat(format);
    const std::string freeSpaceFolder = store.FreeSpaceFolderOf(storage);
    CRecordingSession::SRequest request;
    request.info = *area;
    request.nextPath = [&store, &storage, &audio] {
        return SRecordPath{
            store.MakeRecordPath(storage, audio.CodecIndex(), QDateTime::currentDateTime()), {}};
    };
    request.freeBytes = [freeSpaceFolder] {
        return FreeBytesAt(freeSpaceFolder);
    };
    return Record(context, line, request, seconds);
}

int CRecordCommand::Record(CCliContext& context, const CCommandLine& line,
                           CRecordingSession::SRequest& request, std::uint64_t seconds)
{
    CAudioManager& audio = context.Audio();
    request.sampleLimit = seconds * audio.SampleRate();
    // Watching for SIGINT and SIGTERM from before the start: an interruption while the
    // device opens still ends with a finished record.
    const CStopSignal stop;
    CRecordingSession session(audio);
    const std::string input =
        line.Value("input").value_or(CCliStore::StoredInputDevice().toStdString());
    audio.GetRecorder().SetDeviceName(input);
    const CRecordingSession::SStart start = session.Start(request);
    if (!start.Ok())
        throw CCommandFailure(start.message.toStdString());
    if (start.fellBackToDefault)
        context.Err() << CEngineCommands::DeviceNotPresentWarning(input);
    ERecordingEnd end = ERecordingEnd::Running;
    while (!stop.Raised() && (end = session.Wait(kPollPeriod)) == ERecordingEnd::Running) {
    }
    const std::uint64_t captured = session.CapturedSamples();
    if (const std::optional<QString> error = session.Stop())
        throw CCommandFailure(error->toStdString());
    return Finish(context, session.Path().toStdString(), end, captured);
}

int CRecordCommand::Finish(CCliContext& context, const std::string& path, ERecordingEnd end,
                           std::uint64_t captured)
{
    context.Out() << path << '\n';
    const QString message = CRecordingSession::EndMessage(end);
    if (message.isEmpty()) // the seconds asked for, or a signal
        return 0;
    throw CCommandFailure(message.toStdString() + "\n(" + std::to_string(captured) +
                          " samples recorded)");
}
