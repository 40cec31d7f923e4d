#include "platform/freememory.h"

#include <gtest/gtest.h>

namespace {

struct SMeminfoCase
{
    const char* name;
    const char* text;
    std::optional<std::uint64_t> expected;
};

class FreeMemoryParse : public ::testing::TestWithParam<SMeminfoCase>
{
};

TEST_P(FreeMemoryParse, ReadsMemAvailableInBytes)
{
    EXPECT_EQ(ParseMemAvailable(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, FreeMemoryParse,
    ::testing::Values(
        SMeminfoCase{"typical",
                     "MemTotal:       16318480 kB\nMemFree:         1000000 kB\n"
                     "MemAvailable:    10240 kB\nBuffers: 1 kB\n",
                     10485760ull},
        SMeminfoCase{"lastLineWithoutNewline", "MemFree: 5 kB\nMemAvailable: 879 kB", 900096ull},
        SMeminfoCase{"tabs", "MemAvailable:\t\t1 kB\n", 1024ull},
        // MemFree is not a substitute: it ignores reclaimable cache.
        SMeminfoCase{"missing", "MemTotal: 10 kB\nMemFree: 5 kB\n", std::nullopt},
        SMeminfoCase{"notANumber", "MemAvailable: lots kB\n", std::nullopt},
        SMeminfoCase{"wrongUnit", "MemAvailable: 12 MB\n", std::nullopt},
        SMeminfoCase{"prefixOnly", "XMemAvailable: 12 kB\n", std::nullopt},
        SMeminfoCase{"overflow", "MemAvailable: 99999999999999999999 kB\n", std::nullopt},
        SMeminfoCase{"empty", "", std::nullopt}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(FreeMemory, ReadsThisMachine)
{
    // Every Linux kernel since 3.14 reports the figure; it is never zero on a live system.
    const auto bytes = AvailableMemoryBytes();
    ASSERT_TRUE(bytes.has_value());
    EXPECT_GT(*bytes, 0u);
}

} // namespace
