#include "store/restriction.h"

#include <gtest/gtest.h>

namespace {

struct SMatchCase
{
    const char* restriction;
    const char* subject;
    bool matches;
};

void PrintTo(const SMatchCase& c, std::ostream* os)
{
    *os << c.restriction << " on \"" << c.subject << '"';
}

class RestrictionMatchTest : public testing::TestWithParam<SMatchCase>
{
};

TEST_P(RestrictionMatchTest, AnswersOverOneSubject)
{
    const SMatchCase& c = GetParam();
    const auto restriction = CRestriction::Parse(QString::fromUtf8(c.restriction));
    ASSERT_TRUE(restriction.has_value());
    EXPECT_EQ(restriction->Matches(QString::fromUtf8(c.subject)), c.matches);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RestrictionMatchTest, testing::Values(
    // The trailing space inside the quotes is part of the text.
    SMatchCase{R"([Subject] = "Call back ")", "Call back ", true},
    SMatchCase{R"([Subject] = "Call back ")", "Call back", false},
    // Text compares without regard to case.
    SMatchCase{R"([Subject] = "call BACK")", "Call back", true},
    SMatchCase{R"([Subject] > "Call")", "Dinner", true},
    SMatchCase{R"([Subject] > "Call")", "Apple", false},
    SMatchCase{R"([Subject] > "Call")", "CALL", false},
    SMatchCase{R"([Subject] > "Call")", "Call back", true},
    SMatchCase{R"([Subject] >= "Call")", "cALL", true},
    SMatchCase{R"([Subject] < "b")", "A", true},
    SMatchCase{R"([Subject] <= "b")", "B", true},
    SMatchCase{R"([Subject] <> "b")", "B", false},
    SMatchCase{R"([Subject] <> "b")", "c", true},
    // Spacing around the parts, property name in any case.
    SMatchCase{R"(  [subject]="x"  )", "X", true},
    // A subject holding quotes is taken whole, up to the last quote.
    SMatchCase{R"([Subject] = "Say "hi" now")", R"(Say "hi" now)", true},
    SMatchCase{R"([Subject] = "")", "", true},
    SMatchCase{"[Subject] = \"Stra\xC3\x9F" "e\"", "STRA\xC3\x9F" "E", true}));
// clang-format on

TEST(RestrictionParseTest, RefusesWhatIsNotASubjectRestriction)
{
    for (const char* text :
         {"", "[Subject]", R"([Body] = "x")", R"([Subject] = x)", R"([Subject] "x")",
          R"([Subject] = "x" AND [Subject] = "y)", R"([Subject] = "x)", R"([Subject] == "x")",
          R"(Subject = "x")", R"([Subject] = ")"})
        EXPECT_FALSE(CRestriction::Parse(QString::fromUtf8(text)).has_value()) << text;
}

TEST(RestrictionParseTest, ReadsTwoCharacterOperatorsWhole)
{
    const auto lessOrEqual = CRestriction::Parse(R"([Subject] <= "m")");
    ASSERT_TRUE(lessOrEqual);
    EXPECT_EQ(lessOrEqual->Operator(), CRestriction::EOperator::LessOrEqual);
    EXPECT_EQ(lessOrEqual->Operand(), "m");
}

} // namespace
