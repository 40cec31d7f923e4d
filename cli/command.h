#pragma once

#include "cli/commandline.h"

#include <string_view>
#include <vector>

class CCliContext;

// One entry of the command table: its name, its forms (the arguments each form takes,
// one form per line), a one-line summary for --help, the options it accepts, the
// function that runs it, and the one-line hint shown after wrong usage (empty: the first
// form). The function returns the exit status of a success (0); failures are
// thrown (CUsageError, CCommandFailure, CAudioError).
struct SCommand
{
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
    std::vector<SOptionRule> options;
    int (*run)(CCliContext& context, const CCommandLine& line);
    std::string_view hint = {};
};
