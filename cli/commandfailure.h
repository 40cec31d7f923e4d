#pragma once

#include <stdexcept>
#include <string>

// A command that was used correctly but could not do its work (a refused tag, a file
// that is in the way, a store operation that failed). The text is printed as it stands
// on stderr, and the program exits with 1.
class CCommandFailure : public std::runtime_error
{
public:
    explicit CCommandFailure(const std::string& message) : std::runtime_error(message) {}
};
