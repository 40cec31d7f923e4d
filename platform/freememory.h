#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Memory the system can give this program without swapping: "MemAvailable" of
// /proc/meminfo, in bytes. nullopt when the figure cannot be read (no /proc, an old
// kernel); callers then treat memory as sufficient rather than refuse to run.
std::optional<std::uint64_t> AvailableMemoryBytes();

// The "MemAvailable:" line of a meminfo text, converted from kB to bytes; nullopt when
// the line is missing or malformed.
std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo);
