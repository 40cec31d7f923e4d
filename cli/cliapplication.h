#pragma once

#include "cli/command.h"

#include <iosfwd>
#include <string>
#include <vector>

// The front end's dispatcher: finds the command named by the first word, parses the
// rest against its options, runs it, and turns the outcome into the exit status:
// 0 success, 1 failure (the engine's or store's message on stderr), 2 wrong usage
// (the reason and the command's usage line on stderr).
class CCliApplication
{
public:
    CCliApplication(std::ostream& out, std::ostream& err);

    int Run(const std::vector<std::string>& arguments);

private:
    const SCommand* Find(std::string_view name) const;
    int Dispatch(const std::vector<std::string>& arguments);
    void PrintHelp() const;
    void PrintUsageHint(const SCommand* command) const;

    std::ostream& m_out;
    std::ostream& m_err;
    std::vector<SCommand> m_commands;
};
