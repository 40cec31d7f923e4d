// A power cut right after the program acknowledged a change: each change made through the
// command line must be on the disk when the command returns, and a recording must be there
// up to its last two seconds.

#include "clirunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// ext4's "going down" request (EXT4_IOC_SHUTDOWN), which the C library does not declare.
const unsigned long kShutDown = _IOR('X', 125, std::uint32_t);
constexpr std::uint32_t kWithoutLogFlush = 2; // EXT4_GOING_FLAGS_NOLOGFLUSH

int Shell(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// A small ext4 file system in a file, mounted so that its journal commits only once a
// minute: nothing reaches its disk within a test unless it is synced. Cut stops it as a
// power cut would (no write more, the journal not flushed) and mounts what the disk kept.
// Mounting needs root: Mounted() is false otherwise and the test skips itself.
class CExt4Card
{
public:
    CExt4Card(const std::string& image, const std::string& folder)
        : m_image(image), m_folder(folder)
    {
        m_mounted = ::geteuid() == 0 && Shell("truncate -s 64M '" + image + "'") == 0 &&
                    Shell("mkfs.ext4 -q -F '" + image + "'") == 0 &&
                    Shell("mkdir -p '" + folder + "'") == 0 && Mount();
    }
    ~CExt4Card()
    {
        if (m_mounted)
            Shell("umount -l '" + m_folder + "'");
    }
    CExt4Card(const CExt4Card&) = delete;
    CExt4Card& operator=(const CExt4Card&) = delete;

    bool Mounted() const { return m_mounted; }
    // Everything so far on the disk, as before the changes under test.
    void Sync() const { ::sync(); }
    // Stops the file system as a power cut would; the programs still running (`before`) are
    // then ended, and the disk is mounted again as it was left.
    bool Cut(const std::function<void()>& before = {})
    {
        const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY);
        std::uint32_t flags = kWithoutLogFlush;
        const bool down = fd >= 0 && ::ioctl(fd, kShutDown, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        if (before)
            before();
        if (Shell("umount '" + m_folder + "'") != 0)
            return false;
        m_mounted = Mount();
        return down && m_mounted;
    }

private:
    bool Mount() const
    {
        return Shell("mount -o loop,commit=60 '" + m_image + "' '" + m_folder + "'") == 0;
    }

    std::string m_image;
    std::string m_folder;
    bool m_mounted = false;
};

class PowerCut : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_card.Mounted())
            GTEST_SKIP() << "mounting a small ext4 file system needs root and a loop device";
        cli.SetEnv("PARLANTOGRAPHER_HOME", Card("home"));
        cli.SetEnv("XDG_DATA_HOME", Card("data"));
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Card("home/Data"))));
        ASSERT_EQ(cli.Run({"tags", "list"}).exitCode, 0); // the default catalogue
    }

    std::string Card(const std::string& path) const { return cli.Scratch("card/" + path); }
    // A new record of the data folder, and its path.
    std::string Record()
    {
        const SCliResult made = cli.Run({"record", "--seconds", "1", "--format", "0"});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return made.out.substr(0, made.out.find('\n'));
    }
    QString Text(const std::string& path) const
    {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void Acknowledged(const std::vector<std::string>& arguments)
    {
        const SCliResult result = cli.Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << arguments[0] << ": " << result.err;
    }

    CCliRunner cli;
    CExt4Card m_card{cli.Scratch("card.img"), cli.Scratch("card")};
};

TEST_F(PowerCut, KeepsEveryChangeThatWasAcknowledged)
{
    const std::string renamed = Record(), edited = Record(), trashed = Record();
    m_card.Sync();

    // One change at a time: a sync made for one change must not stand in for another's.
    Acknowledged({"tags", "add-group", "Projects"});
    ASSERT_TRUE(m_card.Cut());
    EXPECT_TRUE(Text(Card("home/groups.dat")).contains("[Projects]\n"));

    Acknowledged({"locations", "add", "Office"});
    ASSERT_TRUE(m_card.Cut());
    EXPECT_TRUE(Text(Card("home/locations.dat")).contains("Office"));

    Acknowledged({"config", "set", "Format", "3"});
    ASSERT_TRUE(m_card.Cut());
    EXPECT_TRUE(Text(Card("home/settings.ini")).contains("Format=3"));

    Acknowledged({"rename", renamed, "Meeting"});
    ASSERT_TRUE(m_card.Cut());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Card("home/Data/Meeting.wav"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(renamed)));

    Acknowledged({"edit", edited, "--task", "Call the garage"});
    ASSERT_TRUE(m_card.Cut());
    EXPECT_NE(cli.Run({"info", edited}).out.find("Call the garage"), std::string::npos);

    Acknowledged({"delete", trashed});
    ASSERT_TRUE(m_card.Cut());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(trashed)));
    // The home trash lies on the card too ($XDG_DATA_HOME/Trash), so it takes the record.
    const QString trash = QString::fromStdString(Card("data/Trash"));
    const QString name = QString::fromStdString(trashed.substr(trashed.rfind('/') + 1));
    EXPECT_TRUE(QFile::exists(trash + "/files/" + name));
    EXPECT_TRUE(Text((trash + "/info/" + name + ".trashinfo").toStdString()).contains("Path="));
}

TEST_F(PowerCut, KeepsARecordingUpToItsLastTwoSeconds)
{
    cli.SetEnv("PARLANTOGRAPHER_SIM_SPEED", "realtime");
    const std::unique_ptr<QProcess> recording =
        cli.Start({"record", "--seconds", "60", "--format", "0"});
    std::this_thread::sleep_for(4500ms);
    ASSERT_TRUE(m_card.Cut([&] {
        recording->kill();
        recording->waitForFinished(10000);
    }));
    const SCliResult listed = cli.Run({"list", "--json"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const QJsonArray records =
        QJsonDocument::fromJson(QByteArray::fromStdString(listed.out)).array();
    ASSERT_EQ(records.size(), 1) << listed.out;
    EXPECT_GE(records[0].toObject()["seconds"].toInt(), 2) << listed.out;
}

} // namespace
