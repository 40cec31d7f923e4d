#pragma once

#include "cli/command.h"
#include "store/recordingsession.h"

#include <optional>
#include <string_view>

// record: N seconds from the audio input into a record file, either a file the user
// names (OUT, with --info) or a record the program places and names itself in the data
// folder of a storage, with its information composed from tags, a task and contacts.
class CRecordCommand
{
public:
    static SCommand Entry();
    static int Run(CCliContext& context, const CCommandLine& line);

    // The recording format for OUT: the requested one when given, else the stored one
    // when it suits OUT's extension, else the first format of that extension (0 for
    // ".wav", 1 for ".ogg"). Throws CUsageError for any other extension or a requested
    // format of the other file type. Extensions compare case-insensitively.
    static int FormatForPath(std::string_view path, std::optional<int> requested, int stored);

private:
    static int RecordToFile(CCliContext& context, const CCommandLine& line);
    static int RecordToStore(CCliContext& context, const CCommandLine& line);
    // Runs the recording until its sample limit, a stop signal or another end.
    static int Record(CCliContext& context, const CCommandLine& line,
                      CRecordingSession::SRequest& request, std::uint64_t seconds);
    static int Finish(CCliContext& context, const std::string& path, ERecordingEnd end,
                      std::uint64_t captured);
};
