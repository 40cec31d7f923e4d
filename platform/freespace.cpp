#include "platform/freespace.h"

#include <filesystem>
#include <system_error>

double FreeBytesAt(const std::string& path)
{
    std::error_code error;
    const auto info = std::filesystem::space(path, error);
    if (error)
        return 0.0;
    return static_cast<double>(info.available);
}
