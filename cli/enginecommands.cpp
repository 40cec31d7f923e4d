#include "cli/enginecommands.h"

#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/player.h"
#include "audio/recordlength.h"
#include "audio/tagger.h"
#include "audio/timeleft.h"
#include "cli/clicontext.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/infotext.h"
#include "cli/stopsignal.h"
#include "cli/usageerror.h"
#include "platform/freespace.h"
#include "platform/wavebackend.h"
#include "store/recordinfofile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace {

constexpr std::chrono::milliseconds kPollPeriod{20};
// A day: longer than any memo.
constexpr double kLongestSeconds = 24 * 60 * 60;

const char* CodecName(std::uint32_t codec)
{
    return codec == Codec::Speex ? "speex" : "pcm";
}

const char* DirectionName(EWaveDirection direction)
{
    return direction == EWaveDirection::Input ? "input" : "output";
}

// One row per device: direction, a star for the default, the name to pass back and what
// people read, with the names padded to one column.
void PrintDeviceTable(std::ostream& out,
                      const std::vector<std::pair<EWaveDirection, SWaveDeviceInfo>>& rows)
{
    std::size_t width = 4;
    for (const auto& [direction, device] : rows)
        width = std::max(width, device.name.size());
    out << "DIRECTION  DEFAULT  " << std::left << std::setw(static_cast<int>(width)) << "NAME"
        << "  DESCRIPTION\n";
    for (const auto& [direction, device] : rows) {
        out << std::left << std::setw(9) << DirectionName(direction) << "  " << std::setw(7)
            << (device.isDefault ? "*" : "") << "  " << std::setw(static_cast<int>(width))
            << device.name << "  " << device.description << '\n';
    }
    if (rows.empty())
        out << "(no audio devices)\n";
}

} // namespace

std::string CEngineCommands::DeviceNotPresentWarning(const std::string& name)
{
    return "warning: the audio device \"" + name + "\" is not present; using the default device\n";
}

std::vector<SCommand> CEngineCommands::Table()
{
    return {
        {"play",
         "FILE [--output NAME] [--speed X] [--from SECONDS]",
         "play a record to the end (Ctrl-C stops) on the default or the named output, "
         "faster or slower with its pitch kept, from a moment of it",
         {{"output", true}, {"speed", true}, {"from", true}},
         &Play},
        {"info", "FILE [--json]", "codec, length and information of a record", {{"json"}}, &Info},
        {"tag",
         "FILE (--info TEXT | --info-file F)",
         "replace the information of a record in place",
         {{"info", true}, {"info-file", true}},
         &Tag},
        {"devices", "[--json]", "list the audio input and output devices", {{"json"}}, &Devices},
        {"time-left",
         "[--format 0..5] [--path DIR]",
         "free space and recording time left on the chosen storage (or DIR)",
         {{"format", true}, {"path", true}},
         &ShowTimeLeft},
    };
}

int CEngineCommands::Play(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    const std::string& path = line.Positionals()[0];
    const double speed =
        line.DecimalValue("speed", CPlayer::kSlowest, CPlayer::kFastest).value_or(1);
    const double from = line.DecimalValue("from", 0, kLongestSeconds).value_or(0);
    CAudioManager& audio = context.Audio();
    CPlayer& player = audio.GetPlayer();
    const auto start = static_cast<std::uint64_t>(std::llround(from * audio.SampleRate()));
    if (start > 0) {
        const std::uint64_t total = audio.GetRecordSamples(path);
        if (start >= total) {
            std::ostringstream message;
            message << "--from " << from << " lies past the end of the record ("
                    << static_cast<double>(total) / audio.SampleRate() << " s)";
            throw CCommandFailure(message.str());
        }
    }
    const std::string output =
        line.Value("output").value_or(CCliStore::StoredOutputDevice().toStdString());
    player.SetDeviceName(output);
    player.SetSpeed(speed);
    const CStopSignal stop;
    player.Play(path, start);
    if (player.FellBackToDefault())
        context.Err() << DeviceNotPresentWarning(output);
    while (!player.WaitUntilStopped(kPollPeriod) && !stop.Raised()) {
    }
    player.StopPlaying();
    return 0;
}

int CEngineCommands::Info(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    const std::string& path = line.Positionals()[0];
    CAudioManager& audio = context.Audio();
    const std::uint32_t codec = audio.GetSuitableCodec(path);
    // One decoder for the information and the length, which comes from the header or the
    // last page (RecordLength).
    const std::unique_ptr<CBaseDecoder> decoder = audio.OpenDecoder(path, codec);
    const std::uint32_t samples = decoder->GetLength();
    const std::uint32_t seconds = RecordLength::Seconds(samples, audio.SampleRate());
    const QString info = InfoText::Decode(decoder->GetInfo());

    if (line.Has("json")) {
        const QJsonObject object{
            {"path", QString::fromStdString(path)},
            {"codec", CodecName(codec)},
            {"samples", static_cast<qint64>(samples)},
            {"seconds", static_cast<qint64>(seconds)},
            {"info", info},
        };
        context.Out() << QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
        return 0;
    }
    context.Out() << "path: " << path << '\n'
                  << "codec: " << CodecName(codec) << '\n'
                  << "samples: " << samples << '\n'
                  << "seconds: " << seconds << '\n'
                  << "info:\n"
                  << info.toStdString();
    if (!info.isEmpty() && !info.endsWith('\n'))
        context.Out() << '\n';
    return 0;
}

int CEngineCommands::Tag(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(1, 1);
    const std::string& path = line.Positionals()[0];
    if (!line.Has("info") && !line.Has("info-file"))
        throw CUsageError("give the new information with --info or --info-file");
    const QByteArray info = QByteArray::fromStdString(InfoText::FromOptions(line));
    // Any record file may be tagged (one made by "record OUT" anywhere), but a link in a
    // record folder is followed only to a record in one: the records there are the
    // program's, and writing through them must never reach another file.
    std::error_code error;
    std::filesystem::path record = std::filesystem::canonical(path, error);
    if (error)
        record = path;
    if (context.Store().LiesInRecordFolder(path))
        record = context.Store().RecordInFolders(path);
    const RecordInfoFile::SResult result = RecordInfoFile::Update(
        context.Audio(), record, [&](const std::string& area) -> std::optional<QByteArray> {
            // The header is rewritten in place at the size this program writes it. A file
            // with another header (a plain 44-byte WAV, a foreign Ogg stream) has no
            // information area, and writing one would overwrite its first samples.
            if (area.size() != InfoText::kCapacity)
                return std::nullopt;
            return info;
        });
    if (result.status == RecordInfoFile::EStatus::Refused)
        throw CCommandFailure(path + ": not a record made by this program (it has no information "
                                     "area); nothing written");
    if (result.status != RecordInfoFile::EStatus::Written)
        throw CCommandFailure(result.message.toStdString());
    return 0;
}

int CEngineCommands::Devices(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    MWaveBackend& backend = context.Audio().GetWaveBackend();
    std::vector<std::pair<EWaveDirection, SWaveDeviceInfo>> rows;
    for (const EWaveDirection direction : {EWaveDirection::Input, EWaveDirection::Output}) {
        for (SWaveDeviceInfo& device : backend.Devices(direction))
            rows.emplace_back(direction, std::move(device));
    }
    if (line.Has("json")) {
        QJsonArray array;
        for (const auto& [direction, device] : rows) {
            array.append(QJsonObject{
                {"direction", DirectionName(direction)},
                {"name", QString::fromStdString(device.name)},
                {"description", QString::fromStdString(device.description)},
                {"default", device.isDefault},
            });
        }
        context.Out() << QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
        return 0;
    }
    PrintDeviceTable(context.Out(), rows);
    return 0;
}

int CEngineCommands::ShowTimeLeft(CCliContext& context, const CCommandLine& line)
{
    line.ExpectPositionals(0, 0);
    CCliStore& store = context.Store();
    const auto format = line.NumberValue("format", 0, kRecordingFormats.size() - 1)
                            .value_or(static_cast<std::uint64_t>(store.Format()));
    // By default the storage new records go to, as the record button measures it.
    std::string folder;
    if (const auto path = line.Value("path")) {
        std::error_code error;
        if (!std::filesystem::is_directory(*path, error))
            throw CCommandFailure(*path + ": no such folder");
        folder = *path;
    } else {
        folder = store.FreeSpaceFolderOf(store.Settings().Storage());
    }
    const auto& row = kRecordingFormats[format];
    const double freeBytes = FreeBytesAt(folder);
    const std::uint32_t seconds = TimeLeft::FreeSpaceInSeconds(
        freeBytes, CAudioManager::GetBytesPerSecond(row.codec, row.quality));
    context.Out() << "folder: " << folder << '\n'
                  << "format: " << format << " (" << row.label << ")\n"
                  << "free bytes: " << static_cast<std::uint64_t>(freeBytes) << '\n'
                  << "recording seconds: " << seconds << '\n';
    if (!TimeLeft::HasRoomToRecord(freeBytes))
        context.Out() << "below the 1,000,000-byte reserve: a recording would not start\n";
    return 0;
}
