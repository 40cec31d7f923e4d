#pragma once

#include "cli/command.h"

#include <vector>

// The commands that find and handle stored records, with the browser's own store functions:
// list (with its filters), rename and delete.
class CBrowseCommands
{
public:
    static std::vector<SCommand> Table();

    static int List(CCliContext& context, const CCommandLine& line);
    static int Rename(CCliContext& context, const CCommandLine& line);
    static int Delete(CCliContext& context, const CCommandLine& line);
};
