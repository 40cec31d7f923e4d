#include "platform/freememory.h"

#include <gtest/gtest.h>

namespace {

TEST(FreeMemory, ReadsMemAvailableInBytes)
{
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"MemTotal:       16318480 kB\nMemFree:         1000000 kB\n"
         "MemAvailable:    10240 kB\nBuffers: 1 kB\n",
         10485760ull},
        {"MemFree: 5 kB\nMemAvailable: 879 kB", 900096ull}, // no newline at the end
        {"MemAvailable:\t\t1 kB\n", 1024ull},
        // MemFree is not a substitute: it ignores reclaimable cache.
        {"MemTotal: 10 kB\nMemFree: 5 kB\n", std::nullopt},
        {"MemAvailable: lots kB\n", std::nullopt},
        {"MemAvailable: 12 MB\n", std::nullopt},
        {"XMemAvailable: 12 kB\n", std::nullopt},
        {"MemAvailable: 99999999999999999999 kB\n", std::nullopt},
        {"", std::nullopt}};
    for (auto [text, expected] : cases)
        EXPECT_EQ(ParseMemAvailable(text), expected) << text;

    // Every Linux kernel since 3.14 reports the figure; it is never zero on a live system.
    const auto bytes = AvailableMemoryBytes();
    ASSERT_TRUE(bytes.has_value());
    EXPECT_GT(*bytes, 0u);
}

} // namespace
