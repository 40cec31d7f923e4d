#include "store/restriction.h"

#include <gtest/gtest.h>

namespace {

TEST(RestrictionTest, AnswersOverOneSubjectWithoutRegardToCase)
{
    // clang-format off
    for (const auto& [restriction, subject, matches] :
         std::initializer_list<std::tuple<const char*, const char*, bool>>{
        {R"([Subject] = "Call back ")", "Call back ", true}, // the space inside the quotes counts
        {R"([Subject] = "Call back ")", "Call back", false},
        {R"([Subject] = "call BACK")", "Call back", true},
        {R"([Subject] > "Call")", "Dinner", true}, {R"([Subject] > "Call")", "Apple", false},
        {R"([Subject] > "Call")", "CALL", false}, {R"([Subject] > "Call")", "Call back", true},
        {R"([Subject] >= "Call")", "cALL", true}, {R"([Subject] < "b")", "A", true},
        {R"([Subject] <= "b")", "B", true}, {R"([Subject] <> "b")", "B", false}, {R"([Subject] <> "b")", "c", true},
        {R"(  [subject]="x"  )", "X", true},
        {R"([Subject] = "Say "hi" now")", R"(Say "hi" now)", true}, // up to the last quote
        {R"([Subject] = "")", "", true},
        {"[Subject] = \"Stra\xC3\x9F" "e\"", "STRA\xC3\x9F" "E", true}}) {
        // clang-format on
        const auto parsed = CRestriction::Parse(QString::fromUtf8(restriction));
        ASSERT_TRUE(parsed) << restriction;
        EXPECT_EQ(parsed->Matches(QString::fromUtf8(subject)), matches)
            << restriction << " on " << subject;
    }
}

TEST(RestrictionTest, RefusesAnythingButOneSubjectComparison)
{
    for (const char* text : {"", "[Subject]", R"([Body] = "x")", R"([Subject] = x)",
                             R"([Subject] "x")", R"([Subject] = "x" AND [Subject] = "y)",
                             R"([Subject] == "x")", R"(Subject = "x")", R"([Subject] = ")"})
        EXPECT_FALSE(CRestriction::Parse(QString::fromUtf8(text))) << text;
}

} // namespace
