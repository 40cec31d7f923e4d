#pragma once

#include <cstdint>
#include <string>

// Arithmetic of the recording time left on a storage: free bytes become seconds at
// the nominal rate of the recording format, and a one-million-byte reserve stops
// recording before the storage is full.
namespace TimeLeft {

// A plain decimal million: below it a recording does not start and a running one stops.
inline constexpr double kReserveBytes = 1000000.0;

inline bool HasRoomToRecord(double freeBytes)
{
    return freeBytes >= kReserveBytes;
}

// The seconds that can be recorded before the reserve is reached: free bytes less the
// reserve, over bytes per second, truncated; 0 at or below the reserve, or when the rate is
// unknown (0). A recording stops at the reserve, so nothing beyond it is time left.
std::uint32_t FreeSpaceInSeconds(double freeBytes, std::uint32_t bytesPerSecond);

// "01:05 / 02:13:20", "1:02:05 / 1d 03:46:40": elapsed (hours only when nonzero),
// then the time left with a day count when nonzero. A negative time left (the
// estimate ran out before the storage did) shows as "-00:00:05" rather than as a
// field of every unit going negative.
std::string FormatUpdateText(std::int64_t elapsedSeconds, std::int64_t secondsLeft);

} // namespace TimeLeft
