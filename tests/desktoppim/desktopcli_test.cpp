#include "cli/clirunner.h"
#include "edsteststore.h"
#include "support/qtsupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using Words = std::vector<std::string>;

// A session bus of its own whose services are only those in `services`: none, or a
// registry of sources that is started but never answers.
class CPrivateBus
{
public:
    explicit CPrivateBus(const QByteArray& registryCommand)
    {
        const QString services = m_dir.filePath("services");
        QDir().mkpath(services);
        if (!registryCommand.isEmpty())
            WriteAll(services + "/registry.service",
                     "[D-BUS Service]\nName=org.gnome.evolution.dataserver.Sources5\nExec=" +
                         registryCommand + "\n");
        WriteAll(m_dir.filePath("bus.conf"),
                 "<busconfig><type>session</type><listen>unix:path=" +
                     m_dir.filePath("bus").toUtf8() + "</listen><servicedir>" + services.toUtf8() +
                     "</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
                     "<allow receive_sender=\"*\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n");
        m_daemon.start("dbus-daemon", {"--nofork", "--config-file=" + m_dir.filePath("bus.conf")});
        if (!m_daemon.waitForStarted() ||
            !QTest::qWaitFor([this] { return QFileInfo::exists(m_dir.filePath("bus")); }, 10000))
            throw std::runtime_error("no private bus");
    }
    ~CPrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    std::string Address() const { return "unix:path=" + m_dir.filePath("bus").toStdString(); }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
};

// The command line in the test's session, where the service holds Zoë Ångström and the
// task "Call the plumber", and the folder holds Ann Lee and "Write report".
class DesktopCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        cli.SetEnv("DBUS_SESSION_BUS_ADDRESS", qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString());
        ASSERT_TRUE(WriteAll(QString::fromStdString(cli.Pim() + "/contacts/people.vcf"),
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n"));
        ASSERT_TRUE(WriteAll(QString::fromStdString(cli.Pim() + "/tasks/work.ics"),
                             "BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:1\r\nSUMMARY:Write report\r\n"
                             "END:VTODO\r\nEND:VCALENDAR\r\n"));
        service.AddContact(
            CEdsTestStore::kPersonalBook,
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:\xC3\x85ngstr\xC3\xB6m;Zo\xC3\xAB;;;\r\n"
            "END:VCARD\r\n");
        service.AddTask(CEdsTestStore::kPersonalTasks,
                        "BEGIN:VTODO\r\nUID:2\r\nSUMMARY:Call the plumber\r\nEND:VTODO\r\n");
    }

    std::string Ok(const Words& arguments)
    {
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments.front() << ": " << result.err;
        return result.out;
    }

    void Choose(const char* origin) { Ok({"config", "set", "PimSource", origin}); }

    CEdsTestStore service;
    CCliRunner cli;
};

TEST_F(DesktopCliTest, ContactsAndTasksComeFromTheChosenSourceAndAMemoHoldsThem)
{
    // Nothing chosen and the service answers: both, the desktop's first.
    EXPECT_EQ(Ok({"config", "get", "PimSource"}), "both\n");
    EXPECT_EQ(Ok({"contacts"}), "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m\nAnn Lee\n");
    EXPECT_EQ(Ok({"tasks"}), "Call the plumber\nWrite report\n");

    Choose("desktop");
    EXPECT_EQ(Ok({"contacts"}), "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m\n");
    EXPECT_EQ(Ok({"tasks"}), "Call the plumber\n");
    const std::string record = Ok({"record", "--seconds", "1", "--task", "Call the plumber",
                                   "--contact", "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m"});
    EXPECT_NE(
        Ok({"info", record.substr(0, record.size() - 1)})
            .find("[[Tasks]]\nCall the plumber\n[[Contacts]]\nZo\xC3\xAB \xC3\x85ngstr\xC3\xB6m"),
        std::string::npos);

    Choose("folder");
    EXPECT_EQ(Ok({"contacts"}), "Ann Lee\n");
    EXPECT_EQ(Ok({"tasks"}), "Write report\n");

    // A name in both is listed once.
    service.AddContact(CEdsTestStore::kPersonalBook,
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
    Choose("BOTH");
    EXPECT_EQ(Ok({"config", "get", "PimSource"}), "both\n");
    EXPECT_EQ(Ok({"contacts"}), "Ann Lee\nZo\xC3\xAB \xC3\x85ngstr\xC3\xB6m\n");
}

// Without the service the desktop's contacts are a message and a failure within the deadline;
// with nothing chosen the folder's are listed as before, without a word.
TEST_F(DesktopCliTest, AnAbsentServiceIsReportedAndNeverAwaitedLongerThanTheDeadline)
{
    const CPrivateBus withoutService("");
    const CPrivateBus silentService("/bin/sleep 8");
    const std::vector<std::pair<std::string, std::string>> absences{
        {"unix:path=" + cli.Scratch("no-bus"), "cannot be reached: "},
        {withoutService.Address(), "cannot be reached: "},
        {silentService.Address(), "did not answer within 3 seconds"},
    };
    Choose("both");
    for (const auto& [bus, reason] : absences) {
        SCOPED_TRACE(bus);
        cli.SetEnv("DBUS_SESSION_BUS_ADDRESS", bus);
        // A hang would show as the run's time-out.
        const SCliResult result = cli.Run({"contacts"}, 20000);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "Ann Lee\n");
        EXPECT_NE(result.err.find("The desktop's contacts and tasks " + reason), std::string::npos)
            << result.err;
    }
    // A memo asked for with the desktop's task says why there is none.
    cli.SetEnv("DBUS_SESSION_BUS_ADDRESS", absences.front().first);
    const SCliResult result = cli.Run({"record", "--seconds", "1", "--task", "Call the plumber"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("There is no task \"Call the plumber\".\nThe desktop's"),
              std::string::npos)
        << result.err;
    // Nothing chosen: the folder.
    cli.SetEnv("DBUS_SESSION_BUS_ADDRESS", withoutService.Address());
    QFile::remove(QString::fromStdString(cli.Home() + "/settings.ini"));
    EXPECT_EQ(Ok({"config", "get", "PimSource"}), "folder\n");
    const SCliResult folder = cli.Run({"contacts"});
    EXPECT_EQ(folder.exitCode, 0);
    EXPECT_EQ(folder.out, "Ann Lee\n");
    EXPECT_EQ(folder.err, "");
}

} // namespace
