#include "audio/timeleft.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace TimeLeft {

std::uint32_t FreeSpaceInSeconds(double freeBytes, std::uint32_t bytesPerSecond)
{
    const double room = freeBytes - kReserveBytes;
    if (bytesPerSecond == 0 || !(room > 0))
        return 0;
    const double seconds = std::floor(room / bytesPerSecond);
    return seconds >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(seconds);
}

std::string FormatUpdateText(std::int64_t elapsedSeconds, std::int64_t secondsLeft)
{
    char text[96];
    std::size_t used = 0;
    auto append = [&](const char* format, auto... values) {
        const int n = std::snprintf(text + used, sizeof text - used, format, values...);
        if (n > 0)
            used = std::min(sizeof text - 1, used + static_cast<std::size_t>(n));
    };

    const std::int64_t e = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    const long long eh = e / 3600;
    const long long em = (e - eh * 3600) / 60;
    const long long es = e - eh * 3600 - em * 60;
    if (eh != 0)
        append("%lld:", eh);
    append("%02lld:%02lld / ", em, es);

    // The magnitude in unsigned arithmetic: negating the most negative value would overflow.
    const bool negative = secondsLeft < 0;
    const unsigned long long l = negative ? 0ULL - static_cast<unsigned long long>(secondsLeft)
                                          : static_cast<unsigned long long>(secondsLeft);
    const unsigned long long days = l / 86400;
    const unsigned long long hours = (l - days * 86400) / 3600;
    const unsigned long long rest = l - days * 86400 - hours * 3600;
    if (negative)
        append("-");
    if (days != 0)
        append("%llud ", days);
    append("%02llu:%02llu:%02llu", hours, rest / 60, rest % 60);
    return std::string(text, used);
}

} // namespace TimeLeft
