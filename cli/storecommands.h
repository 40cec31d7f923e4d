#pragma once

#include "cli/command.h"

#include <vector>

// The commands over the record store: list, delete, locations, contacts, tasks,
// storages and config. (tags and the placed form of record have classes of their own.)
class CStoreCommands
{
public:
    static std::vector<SCommand> Table();

    static int List(CCliContext& context, const CCommandLine& line);
    static int Delete(CCliContext& context, const CCommandLine& line);
    static int Locations(CCliContext& context, const CCommandLine& line);
    static int Contacts(CCliContext& context, const CCommandLine& line);
    static int Tasks(CCliContext& context, const CCommandLine& line);
    static int Storages(CCliContext& context, const CCommandLine& line);
    static int Config(CCliContext& context, const CCommandLine& line);
};
