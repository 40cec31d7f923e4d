#include "app/memorycheck.h"
#include "recordingsink.h"
#include "support/casename.h"

#include <gtest/gtest.h>

namespace {

using EResult = CMemoryCheck::EResult;

struct SThreshold
{
    const char* name;
    std::optional<std::uint64_t> available;
    std::uint64_t need;
    EResult expected;
};

class MemoryThresholds : public ::testing::TestWithParam<SThreshold>
{
};

TEST_P(MemoryThresholds, AreExclusiveBelowAndInclusiveAt)
{
    EXPECT_EQ(CMemoryCheck::Evaluate(GetParam().available, GetParam().need), GetParam().expected);
}

// A larger need moves only the upper threshold.
INSTANTIATE_TEST_SUITE_P(
    Edges, MemoryThresholds,
    ::testing::Values(SThreshold{"below_90_percent_critical", 899999, 1000000, EResult::Critical},
                      SThreshold{"at_90_percent_not_enough", 900000, 1000000, EResult::NotEnough},
                      SThreshold{"below_the_need_not_enough", 999999, 1000000, EResult::NotEnough},
                      SThreshold{"at_the_need_enough", 1000000, 1000000, EResult::Enough},
                      SThreshold{"unknown_is_enough", std::nullopt, 1000000, EResult::Enough},
                      SThreshold{"larger_need_not_enough", 1500000, 2000000, EResult::NotEnough}),
    testsupport::SByName());

TEST(MemoryCheck, CriticalShowsTheStopMessageThenEndsWithTheOutOfMemoryCode)
{
    CRecordingSink sink;
    std::optional<int> exitCode;
    CMemoryCheck check([] { return std::optional<std::uint64_t>(899999); },
                       [&](int code) { exitCode = code; });
    EXPECT_FALSE(check.Check(sink, nullptr));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].icon, EMessageIcon::Stop);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(static_cast<unsigned>(*exitCode), 0x8007000Eu);
}

TEST(MemoryCheck, NotEnoughWarnsWithoutEnding)
{
    CRecordingSink sink;
    bool ended = false;
    CMemoryCheck check([] { return std::optional<std::uint64_t>(950000); },
                       [&](int) { ended = true; });
    EXPECT_FALSE(check.CheckOrWarn(sink, nullptr));
    EXPECT_FALSE(ended);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].icon, EMessageIcon::Exclamation);
    EXPECT_TRUE(CMemoryCheck([] {
                    return std::optional<std::uint64_t>(1000000);
                }).CheckOrWarn(sink, nullptr));
    EXPECT_EQ(sink.messages.size(), 1u);
}

} // namespace
