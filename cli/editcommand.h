#pragma once

#include "cli/command.h"

// edit: the record information editor without a window. Its options are the editor's
// changes, applied in the order given to the record's information; the result is written
// once, or not at all when any change is refused.
class CEditCommand
{
public:
    static SCommand Entry();
    static int Run(CCliContext& context, const CCommandLine& line);
};
