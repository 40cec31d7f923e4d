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
        m_path = cli.Scratch("memo.wav");
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path());
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
        const std::string bytes = ReadString(m_path);
        const std::string area = bytes.substr(kInfoAreaAt, 1024);
        return area.substr(0, area.find('\0'));
    }

    CCliRunner cli;
    std::string m_path;
    std::string m_before;
    const std::filesystem::file_time_type m_stamp =
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
};

TEST_F(CliEdit, AppliesTheChangesInTheOrderGivenAndKeepsAudioAndDate)
{
    const SCliResult result = cli.Run(
        {"edit", m_path, "--add-contact", "Bo", "--task", "Plan", "--add-tag", "Work=Report",
         "--remove-tag", "Priority=Normal", "--remove-contact", "Call", "--add-contact", "Cy"});
    EXPECT_EQ(result.exitCode, 1); // "Call" is a task, never a contact
    EXPECT_EQ(result.err, "The record has no contact \"Call\".\n");
    EXPECT_EQ(ReadString(m_path), m_before);

    ASSERT_EQ(cli.Run({"edit", m_path, "--add-contact", "Bo", "--task", "Plan", "--add-tag",
                       "Work=Report", "--remove-tag", "Priority=Normal", "--remove-contact",
                       "Ann Lee", "--add-contact", "Cy"})
                  .exitCode,
              0);
    // The emptied group is tidied away, as the editor saves.
    EXPECT_EQ(Info(), kMarker + "[[Tags]]\n[Work]\nReport\n[[Tasks]]\nPlan\n[[Contacts]]\nCy\n"
                                "Bo\nCallum\n");
    const std::string after = ReadString(m_path);
    EXPECT_EQ(after.substr(kRecordHeaderSize), m_before.substr(kRecordHeaderSize));
    EXPECT_EQ(std::filesystem::last_write_time(m_path), m_stamp);

    ASSERT_EQ(cli.Run({"edit", m_path, "--no-task"}).exitCode, 0);
    EXPECT_EQ(Info(),
              kMarker + "[[Tags]]\n[Work]\nReport\n[[Tasks]]\n[[Contacts]]\nCy\nBo\nCallum\n");
}

TEST_F(CliEdit, ARefusedOrWrongChangeLeavesTheFileUntouched)
{
    EXPECT_EQ(cli.Run({"edit", m_path, "--remove-tag", "Priority=Important"}).exitCode, 1);
    EXPECT_EQ(cli.Run({"edit", m_path, "--task", "A", "--no-task"}).exitCode, 2);
    EXPECT_EQ(cli.Run({"edit", m_path, "--add-tag", "NoEquals"}).exitCode, 2);
    EXPECT_EQ(cli.Run({"edit", m_path}).exitCode, 2);
    EXPECT_EQ(ReadString(m_path), m_before);
}

} // namespace
