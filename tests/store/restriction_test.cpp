#include "store/restriction.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

TEST(RestrictionTest, AnswersOverOneSubjectWithoutRegardToCaseOrRefuses)
{
    struct SCase
    {
        const char* restriction;
        const char* subject;
        std::optional<bool> matches;
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
        SCase{"[Subject] = \"Stra\xC3\x9F" "e\"", "STRA\xC3\x9F" "E", true},
        SCase{"", "", std::nullopt},
        SCase{"[Subject]", "", std::nullopt},
        SCase{R"([Body] = "x")", "x", std::nullopt},
        SCase{R"([Subject] = x)", "x", std::nullopt},
        SCase{R"([Subject] "x")", "x", std::nullopt},
        SCase{R"([Subject] = "x" AND [Subject] = "y)", "x", std::nullopt},
        SCase{R"([Subject] = "x)", "x", std::nullopt},
        SCase{R"([Subject] == "x")", "x", std::nullopt},
        SCase{R"(Subject = "x")", "x", std::nullopt},
        SCase{R"([Subject] = ")", "", std::nullopt}}) {
        // clang-format on
        const auto restriction = CRestriction::Parse(QString::fromUtf8(c.restriction));
        ASSERT_EQ(restriction.has_value(), c.matches.has_value()) << c.restriction;
        if (restriction) {
            EXPECT_EQ(restriction->Matches(QString::fromUtf8(c.subject)), *c.matches)
                << c.restriction << " on " << c.subject;
        }
    }
}

} // namespace
