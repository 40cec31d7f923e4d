#include "store/restriction.h"

#include <gtest/gtest.h>

namespace {

TEST(RestrictionTest, AnswersOverOneSubjectWithoutRegardToCase)
{
    struct SCase
    {
        const char* restriction;
        const char* subject;
        bool matches;
    };
    // clang-format off
    for (const SCase& c : {
        SCase{R"([Subject] = "Call back ")", "Call back ", true}, // the space inside the quotes counts
        SCase{R"([Subject] = "Call back ")", "Call back", false},
        SCase{R"([Subject] = "call BACK")", "Call back", true},
        SCase{R"([Subject] > "Call")", "Dinner", true},
        SCase{R"([Subject] > "Call")", "Apple", false},
        SCase{R"([Subject] > "Call")", "CALL", false},
        SCase{R"([Subject] > "Call")", "Call back", true},
        SCase{R"([Subject] >= "Call")", "cALL", true},
        SCase{R"([Subject] < "b")", "A", true},
        SCase{R"([Subject] <= "b")", "B", true},
        SCase{R"([Subject] <> "b")", "B", false},
        SCase{R"([Subject] <> "b")", "c", true},
        SCase{R"(  [subject]="x"  )", "X", true},
        SCase{R"([Subject] = "Say "hi" now")", R"(Say "hi" now)", true}, // up to the last quote
        SCase{R"([Subject] = "")", "", true},
        SCase{"[Subject] = \"Stra\xC3\x9F" "e\"", "STRA\xC3\x9F" "E", true}}) {
        // clang-format on
        const auto restriction = CRestriction::Parse(QString::fromUtf8(c.restriction));
        ASSERT_TRUE(restriction.has_value()) << c.restriction;
        EXPECT_EQ(restriction->Matches(QString::fromUtf8(c.subject)), c.matches)
            << c.restriction << " on " << c.subject;
    }
}

TEST(RestrictionTest, RefusesWhatIsNotASubjectRestriction)
{
    for (const char* text :
         {"", "[Subject]", R"([Body] = "x")", R"([Subject] = x)", R"([Subject] "x")",
          R"([Subject] = "x" AND [Subject] = "y)", R"([Subject] = "x)", R"([Subject] == "x")",
          R"(Subject = "x")", R"([Subject] = ")"})
        EXPECT_FALSE(CRestriction::Parse(QString::fromUtf8(text)).has_value()) << text;
}

} // namespace
