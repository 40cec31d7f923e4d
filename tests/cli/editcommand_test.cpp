#include "clirunner.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

const std::string kMarker = "*ParlantographerInfo*\n";

class CliEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const SCliResult made =
            cli.Run({"record", m_path, "--seconds", "1", "--format", "0", "--info",
                     kMarker + "[[Tags]]\n[Priority]\nNormal\n[[Tasks]]\nCall\n[[Contacts]]\n"
                               "Callum\nAnn Lee\n"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        // An old memo: the edit must not make it look new.
        std::filesystem::last_write_time(m_path, m_stamp);
        m_before = ReadString(m_path);
    }

    std::string Info() const
    {
        const std::string area = ReadString(m_path).substr(kInfoAreaAt, 1024);
        return area.substr(0, area.find('\0'));
    }

    CCliRunner cli;
    const std::string m_path = cli.Scratch("memo.wav");
    std::string m_before;
    const std::filesystem::file_time_type m_stamp =
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
};

TEST_F(CliEdit, AppliesTheChangesInTheOrderGivenAndKeepsAudioAndDate)
{
    ASSERT_EQ(cli.Run({"edit", m_path, "--add-contact", "Bo", "--task", "Plan", "--add-tag",
                       "Work=Report", "--remove-tag", "Priority=Normal", "--remove-contact",
                       "Ann Lee", "--add-contact", "Cy"})
                  .exitCode,
              0);
    // The emptied group is tidied away, as the editor saves.
    EXPECT_EQ(Info(), kMarker + "[[Tags]]\n[Work]\nReport\n[[Tasks]]\nPlan\n[[Contacts]]\nCy\n"
                                "Bo\nCallum\n");
    EXPECT_EQ(ReadString(m_path).substr(kRecordHeaderSize), m_before.substr(kRecordHeaderSize));
    EXPECT_EQ(std::filesystem::last_write_time(m_path), m_stamp);

    ASSERT_EQ(cli.Run({"edit", m_path, "--no-task"}).exitCode, 0);
    EXPECT_EQ(Info(),
              kMarker + "[[Tags]]\n[Work]\nReport\n[[Tasks]]\n[[Contacts]]\nCy\nBo\nCallum\n");
}

// A refusal anywhere in the steps writes none of them.
TEST_F(CliEdit, ARefusedOrWrongChangeLeavesTheFileUntouched)
{
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"--add-contact", "Bo", "--remove-contact", "Call"}, 1, "no contact \"Call\""},
        {{"--task", "A", "--no-task"}, 2, "exclude each other"},
        {{"--add-tag", "NoEquals"}, 2, "takes GROUP=TAG"},
        {{}, 2, "nothing to change"},
    };
    for (auto [arguments, status, reason] : cases) {
        arguments.insert(arguments.begin(), {"edit", m_path});
        SCOPED_TRACE(reason);
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, status);
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
    }
    EXPECT_EQ(ReadString(m_path), m_before);
}

} // namespace
