#include "clirunner.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace testsupport;

const std::string kMarker = "*ParlantographerInfo*\n";

class CliEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(cli.Home() + "/Data");
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
    const std::string m_path = cli.Home() + "/Data/memo.wav";
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

// A record being recorded is in use: an edit, a retag or a rename made meanwhile would be
// undone by the recording's stop, or would send its information into another file, so each is
// refused at once with the answer a delete gives, and the record ends as it was recorded.
TEST_F(CliEdit, ARecordInProgressRefusesEditsTagsAndRenames)
{
    const std::string recording = cli.Home() + "/Data/live.wav";
    cli.SetEnv("PARLANTOGRAPHER_SIM_SPEED", "realtime");
    const auto process =
        cli.Start({"record", recording, "--seconds", "3", "--info", kMarker + "[[Tags]]\n"});
    // Until the recording has begun writing audio (a missing file's size is an error, not 0).
    const auto started = [&recording] {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(recording, error);
        return !error && size > kRecordHeaderSize;
    };
    for (int i = 0; i < 500 && !started(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(started());
    const std::vector<std::vector<std::string>> changes = {
        {"edit", recording, "--add-contact", "Bo"},
        {"tag", recording, "--info", kMarker + "[[Tasks]]\nLate\n"},
        {"rename", recording, "Renamed"},
    };
    for (const std::vector<std::string>& change : changes) {
        SCOPED_TRACE(change[0]);
        const SCliResult result = cli.Run(change);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find("because it is used by other application"), std::string::npos)
            << result.err;
    }
    ASSERT_EQ(CCliRunner::Finish(*process).exitCode, 0);
    const std::string area = ReadString(recording).substr(kInfoAreaAt, 1024);
    EXPECT_EQ(area.substr(0, area.find('\0')), kMarker + "[[Tags]]\n");
    EXPECT_FALSE(std::filesystem::exists(cli.Home() + "/Data/Renamed.wav"));
}

// Several programs editing one record at once: each edit is read, made and written under the
// record's lock, so every edit that reported success is in the record.
TEST_F(CliEdit, SeveralProcessesEditingOneRecordLoseNothing)
{
    ASSERT_EQ(cli.Run({"edit", m_path, "--remove-contact", "Callum", "--remove-contact", "Ann Lee"})
                  .exitCode,
              0);
    constexpr int kWriters = 4;
    constexpr int kEach = 25;
    std::vector<int> failures(kWriters, 0);
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            for (int i = 0; i < kEach; ++i) {
                const std::string contact = "c" + std::to_string(w) + "_" + std::to_string(i);
                failures[static_cast<std::size_t>(w)] +=
                    cli.RunBytes({"edit", m_path, "--add-contact", contact}) != 0;
            }
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const std::string info = Info();
    int missing = 0;
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(failures[static_cast<std::size_t>(w)], 0) << "writer " << w;
        for (int i = 0; i < kEach; ++i)
            missing += info.find("\nc" + std::to_string(w) + "_" + std::to_string(i) + "\n") ==
                       std::string::npos;
    }
    EXPECT_EQ(missing, 0) << info;
}

// A link in a record folder to a file outside every record folder is never written through,
// by edit or by tag; tag still takes any record outside the folders by its own path.
TEST_F(CliEdit, LinksOutOfTheRecordFoldersAreNeverWrittenThrough)
{
    const std::string outside = cli.Scratch("outside.wav");
    std::filesystem::copy_file(m_path, outside);
    const std::string link = cli.Home() + "/Data/link.wav";
    std::filesystem::create_symlink(outside, link);
    const SCliResult edited = cli.Run({"edit", link, "--add-contact", "Bo"});
    EXPECT_EQ(edited.exitCode, 1);
    EXPECT_NE(edited.err.find("not in a record folder; nothing changed"), std::string::npos)
        << edited.err;
    EXPECT_EQ(cli.Run({"edit", outside, "--add-contact", "Bo"}).exitCode, 1);
    EXPECT_EQ(cli.Run({"tag", link, "--info", kMarker}).exitCode, 1);
    EXPECT_TRUE(ReadString(outside) == m_before) << "the file outside was written";

    EXPECT_EQ(cli.Run({"tag", outside, "--info", kMarker}).exitCode, 0);
    EXPECT_EQ(ReadString(outside).substr(kInfoAreaAt, kMarker.size() + 1), kMarker + '\0');
}

} // namespace
