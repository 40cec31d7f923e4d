#include "cli/cliapplication.h"
#include "cli/commandline.h"
#include "cli/usageerror.h"
#include "support/casename.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

struct SUsageCase
{
    const char* name;
    std::vector<std::string> arguments;
    int status;
    const char* said; // on stderr for a refusal, on stdout otherwise
};

class CommandLineUsage : public ::testing::TestWithParam<SUsageCase>
{
};

// In-process, as the program's main would run it; nothing here reaches a record.
TEST_P(CommandLineUsage, AnswersWithTheStatusAndTheReason)
{
    const SUsageCase& c = GetParam();
    std::ostringstream out, err;
    EXPECT_EQ(CCliApplication(out, err).Run(c.arguments), c.status) << err.str();
    const std::string& said = c.status == 0 ? out.str() : err.str();
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
}

const SUsageCase kUsageCases[] = {
    {"no_command", {}, 2, "no command given"},
    {"unknown_command", {"bogus"}, 2, "unknown command 'bogus'"},
    {"unknown_option", {"info", "x.wav", "--bogus"}, 2, "unknown option --bogus"},
    {"option_without_its_value", {"record", "x.wav", "--seconds"}, 2, "--seconds needs a value"},
    {"flag_with_a_value", {"info", "x.wav", "--json=yes"}, 2, "--json takes no value"},
    {"single_option_twice",
     {"record", "x.wav", "--seconds", "1", "--seconds=2"},
     2,
     "--seconds is given more than once"},
    {"extra_argument", {"info", "a.wav", "b.wav"}, 2, "unexpected argument 'b.wav'"},
    {"single_dash_words_are_arguments", {"info", "-draft", "-5"}, 2, "unexpected argument '-5'"},
    {"missing_argument", {"info"}, 2, "missing argument"},
    {"a_refusal_names_the_usage", {"info"}, 2, "usage: parlantographer-cli info"},
    {"help", {"--help"}, 0, "Exit status: 0 success"},
    {"command_help", {"info", "--help"}, 0, "usage: parlantographer-cli info"},
    {"version", {"--version"}, 0, "parlantographer-cli "},
};
INSTANTIATE_TEST_SUITE_P(Table, CommandLineUsage, ::testing::ValuesIn(kUsageCases),
                         testsupport::SByName());

TEST(CommandLine, OptionsKeepTheirOrderAndDashDashEndsThem)
{
    const std::vector<std::string> words{"--add=a", "first", "--drop", "b",
                                         "--add",   "c",     "--",     "--add"};
    const SOptionRule rules[] = {{"add", true, true}, {"drop", true, false}};
    const CCommandLine line(words, rules);
    EXPECT_EQ(line.Positionals(), (std::vector<std::string>{"first", "--add"}));
    EXPECT_EQ(line.Values("add"), (std::vector<std::string>{"a", "c"}));
    using Step = std::pair<std::string, std::string>;
    EXPECT_EQ(line.Ordered(), (std::vector<Step>{{"add", "a"}, {"drop", "b"}, {"add", "c"}}));
    EXPECT_FALSE(line.Value("missing"));
}

TEST(CommandLine, NumbersAreWholeDecimalsInTheirRange)
{
    for (const char* bad :
         {"", "-1", "+1", "1.5", " 5", "5 ", "0x10", "11", "99999999999999999999"})
        EXPECT_FALSE(CCommandLine::ParseWholeNumber(bad, 1, 10)) << bad;
    EXPECT_EQ(CCommandLine::ParseWholeNumber("10", 1, 10), 10u);
    EXPECT_EQ(CCommandLine::ParseWholeNumber("007", 1, 10), 7u);
}

} // namespace
