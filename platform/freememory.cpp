#include "platform/freememory.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo)
{
    constexpr std::string_view key = "MemAvailable:";
    std::size_t at = 0;
    while (at < meminfo.size()) {
        const std::size_t end = meminfo.find('\n', at);
        const std::string_view line =
            meminfo.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? meminfo.size() : end + 1;
        if (line.substr(0, key.size()) != key)
            continue;
        std::string_view rest = line.substr(key.size());
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        std::uint64_t kilobytes = 0;
        const auto [next, error] =
            std::from_chars(rest.data(), rest.data() + rest.size(), kilobytes);
        if (error != std::errc() || next == rest.data())
            return std::nullopt;
        std::string_view unit(next, static_cast<std::size_t>(rest.data() + rest.size() - next));
        while (!unit.empty() && unit.front() == ' ')
            unit.remove_prefix(1);
        if (unit != "kB")
            return std::nullopt;
        if (kilobytes > UINT64_MAX / 1024)
            return std::nullopt;
        return kilobytes * 1024;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> AvailableMemoryBytes()
{
    std::ifstream file("/proc/meminfo");
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return ParseMemAvailable(text.str());
}
