#pragma once

#include "cli/command.h"

#include <string>
#include <vector>

// The commands that work on record files and audio devices directly: play, info,
// tag, devices, time-left. (record has a class of its own.)
class CEngineCommands
{
public:
    static std::vector<SCommand> Table();

    static int Play(CCliContext& context, const CCommandLine& line);
    static int Info(CCliContext& context, const CCommandLine& line);
    static int Tag(CCliContext& context, const CCommandLine& line);
    static int Devices(CCliContext& context, const CCommandLine& line);
    static int ShowTimeLeft(CCliContext& context, const CCommandLine& line);

    // What play and record print on stderr when the device asked for is not present and
    // the default one is used instead.
    static std::string DeviceNotPresentWarning(const std::string& name);
};
