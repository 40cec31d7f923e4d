#pragma once

#include "cli/command.h"

#include <vector>

// The commands that take memos out of the program and bring audio files in: export and
// import.
class CExchangeCommands
{
public:
    static std::vector<SCommand> Table();

    static int Export(CCliContext& context, const CCommandLine& line);
    static int Import(CCliContext& context, const CCommandLine& line);
};
