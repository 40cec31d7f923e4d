#pragma once

#include "cli/command.h"

#include <vector>

// The commands over the record store: locations, contacts, tasks, storages and config.
// (tags, the placed form of record, and list, rename and delete have classes of their own.)
class CStoreCommands
{
public:
    static std::vector<SCommand> Table();

    static int Locations(CCliContext& context, const CCommandLine& line);
    static int Contacts(CCliContext& context, const CCommandLine& line);
    static int Tasks(CCliContext& context, const CCommandLine& line);
    static int Storages(CCliContext& context, const CCommandLine& line);
    static int Config(CCliContext& context, const CCommandLine& line);
};
