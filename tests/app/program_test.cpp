#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// The program as a user starts it: its own process, a temporary home, no splash (the
// offscreen platform and the simulated device come with the test's own environment).
class Program : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PARLANTOGRAPHER_HOME", home.path());
        environment.insert("PARLANTOGRAPHER_NO_SPLASH", "1");
        environment.remove("DBUS_SESSION_BUS_ADDRESS");
        for (QProcess* process : {&first, &second})
            process->setProcessEnvironment(environment);
    }

    void TearDown() override
    {
        for (QProcess* process : {&first, &second}) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    QString AppPath() const
    {
        QSettings settings(home.filePath("settings.ini"), QSettings::IniFormat);
        return settings.value("AppPath").toString();
    }

    QTemporaryDir home;
    QProcess first;
    QProcess second;
};

TEST_F(Program, StartsOnceWritesItsPathAndEndsCleanlyOnTerm)
{
    first.start(PARLANTOGRAPHER_APP, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // The first start writes the home as "AppPath" and the default catalogue.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !AppPath().isEmpty(); }, 10000))
        << first.readAllStandardError().toStdString();
    EXPECT_EQ(AppPath(), QDir(home.path()).absolutePath() + "/");
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return QFile::exists(home.filePath("groups.dat")); }, 5000));

    // A second start finds the first, asks it to come forward and ends at once.
    second.start(PARLANTOGRAPHER_APP, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // SIGTERM goes through the exit path: a normal end with status 0.
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

// A bad environment value is a message and status 1, not an abort. Which values are bad,
// and how the message names them, is the wave backend's choice.
TEST_F(Program, RefusesABadAudioVariableWithAMessage)
{
    QProcessEnvironment environment = first.processEnvironment();
    environment.insert("PARLANTOGRAPHER_AUDIO", "bogus");
    first.setProcessEnvironment(environment);
    first.start(PARLANTOGRAPHER_APP, {});
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 1);
    EXPECT_TRUE(first.readAllStandardError().contains("PARLANTOGRAPHER_AUDIO"));
}

TEST_F(Program, RefusesABadSizeOption)
{
    first.start(PARLANTOGRAPHER_APP, {"--size", "wide"});
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 2);
    EXPECT_TRUE(first.readAllStandardError().contains("--size"));
}

TEST_F(Program, RecordStartsAMemoAtOnceOrAsksTheRunningProgramForOne)
{
    const auto records = [this] {
        return QDir(home.filePath("Data")).entryList(QDir::Files).size();
    };
    first.start(PARLANTOGRAPHER_APP, {"--record"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return records() == 1; }, 10000))
        << first.readAllStandardError().toStdString();
    // Asked again while recording: the memo under way goes on, nothing new starts.
    second.start(PARLANTOGRAPHER_APP, {"--record"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    QTest::qWait(300);
    EXPECT_EQ(records(), 1);
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
}

} // namespace
