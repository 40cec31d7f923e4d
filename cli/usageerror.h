#pragma once

#include <stdexcept>
#include <string>

// Wrong use of the command line: an unknown command or option, a missing or malformed
// argument. The program prints the text with a one-line usage hint and exits with 2.
class CUsageError : public std::runtime_error
{
public:
    explicit CUsageError(const std::string& message) : std::runtime_error(message) {}
};
