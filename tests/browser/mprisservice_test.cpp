#include "browser/mprisservice.h"
#include "privatebus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using std::chrono::microseconds;

// A playback the test drives and watches.
class CFakePlayback : public MPlaybackControl
{
public:
    EStatus Status() const override { return status; }
    QString Title() const override { return QStringLiteral("Call with Ann"); }
    QString FilePath() const override { return path; }
    microseconds Length() const override { return microseconds(5'000'000); }
    microseconds Position() const override { return position; }
    void Play() override { status = EStatus::Playing; }
    void Pause() override { status = EStatus::Paused; }
    void Stop() override { status = EStatus::Stopped; }
    void SetPosition(microseconds to) override { position = to; }

    EStatus status = EStatus::Stopped;
    QString path = QStringLiteral("/memos/Call with Ann.wav");
    microseconds position{1'500'000};
};

// The desktop's view of the player's announcements.
class CChangeListener : public QObject
{
    Q_OBJECT
public slots:
    void Changed(const QDBusMessage& message)
    {
        const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().value(1));
        if (changed.contains(QStringLiteral("PlaybackStatus")))
            statuses << changed.value(QStringLiteral("PlaybackStatus")).toString();
    }

public:
    QStringList statuses;
};

// What the desktop sees: a second connection to the same private bus.
class MprisService : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_bus.Ok())
            GTEST_SKIP() << "no dbus-daemon";
        m_service = std::make_unique<CMprisService>(m_playback, m_bus.Connect());
        m_desktop = m_bus.Connect();
    }

    QVariant Property(const QString& name)
    {
        const QDBusMessage reply =
            Player(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                   {QStringLiteral("org.mpris.MediaPlayer2.Player"), name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    QDBusMessage Player(const QString& interface, const QString& method,
                        const QVariantList& arguments = {})
    {
        return CPrivateBus::Call(m_desktop, CMprisService::kBusName, CMprisService::kObjectPath,
                                 interface, method, arguments);
    }

    bool NameOnBus() { return m_desktop.interface()->isServiceRegistered(CMprisService::kBusName); }

    CPrivateBus m_bus;
    CFakePlayback m_playback;
    std::unique_ptr<CMprisService> m_service;
    QDBusConnection m_desktop{QString()};
};

// The media keys' round trip: the player appears with the memo, PlayPause toggles it with
// PlaybackStatus following (and announced), and it leaves the bus when the memo stops.
TEST_F(MprisService, AnswersStatusAndPlayPauseWhileAMemoPlays)
{
    m_service->Refresh();
    EXPECT_FALSE(NameOnBus()) << "a player with nothing to play must not show in the sound menu";

    m_playback.status = MPlaybackControl::EStatus::Playing;
    m_service->Refresh();
    ASSERT_TRUE(NameOnBus());
    EXPECT_EQ(Property(QStringLiteral("PlaybackStatus")).toString(), "Playing");
    const QDBusArgument metadataArgument =
        Property(QStringLiteral("Metadata")).value<QDBusArgument>();
    QVariantMap metadata;
    metadataArgument >> metadata;
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:title")).toString(), "Call with Ann");
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:length")).toLongLong(), 5'000'000);
    EXPECT_EQ(Property(QStringLiteral("Position")).toLongLong(), 1'500'000);

    CChangeListener changes;
    ASSERT_TRUE(m_desktop.connect(CMprisService::kBusName, CMprisService::kObjectPath,
                                  QStringLiteral("org.freedesktop.DBus.Properties"),
                                  QStringLiteral("PropertiesChanged"), &changes,
                                  SLOT(Changed(QDBusMessage))));
    const QString player = QStringLiteral("org.mpris.MediaPlayer2.Player");
    EXPECT_EQ(Player(player, QStringLiteral("PlayPause")).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(m_playback.status, MPlaybackControl::EStatus::Paused);
    EXPECT_EQ(Property(QStringLiteral("PlaybackStatus")).toString(), "Paused");
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes.statuses.contains("Paused"); }, 5000))
        << "the sound menu is not told";
    Player(player, QStringLiteral("PlayPause"));
    EXPECT_EQ(m_playback.status, MPlaybackControl::EStatus::Playing);

    // A seek past the end has nowhere to go; one inside the memo moves and says so.
    Player(player, QStringLiteral("Seek"), {qlonglong{10'000'000}});
    EXPECT_EQ(m_playback.position, microseconds(1'500'000));
    Player(player, QStringLiteral("Seek"), {qlonglong{-2'000'000}});
    EXPECT_EQ(m_playback.position, microseconds(0));

    Player(player, QStringLiteral("Stop"));
    EXPECT_EQ(m_playback.status, MPlaybackControl::EStatus::Stopped);
    EXPECT_FALSE(NameOnBus());
}

} // namespace

#include "mprisservice_test.moc"
