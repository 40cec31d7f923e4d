#include "app/singleinstance.h"

#include <QDateTime>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ASecondStartRaisesTheFirstAndEnds)
{
    QTemporaryDir home;
    const QString key = CSingleInstance::KeyFor(home.path());
    CSingleInstance first(key);
    ASSERT_TRUE(first.Claim());
    QSignalSpy raised(&first, &CSingleInstance::RaiseRequested);
    CSingleInstance second(key);
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(raised.wait(2000));
    EXPECT_NE(CSingleInstance::KeyFor("/tmp/a"), CSingleInstance::KeyFor("/tmp/b"));
}

// Claims in a process of its own (support/instanceprobe.cpp) at the moment `at`.
class CProbe
{
public:
    CProbe(const QString& key, qint64 at)
    {
        m_process.start(PARLANTOGRAPHER_INSTANCE_PROBE, {key, QString::number(at)});
    }
    ~CProbe()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    // "first", "second", or empty when it said nothing in time.
    QString Answer()
    {
        if (m_answer.isEmpty() && m_process.waitForReadyRead(10000))
            m_answer = QString::fromLatin1(m_process.readLine()).trimmed();
        return m_answer;
    }
    void Kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
    QString m_answer;
};

// Two programs started at the same moment: exactly one runs, the other asks it and ends,
// however their claims interleave.
TEST(SingleInstance, OfTwoStartsAtTheSameMomentExactlyOneRuns)
{
    QTemporaryDir home;
    const QString key = CSingleInstance::KeyFor(home.path());
    for (int round = 0; round < 8; ++round) {
        // Both are loaded and waiting by then.
        const qint64 at = QDateTime::currentMSecsSinceEpoch() + 400;
        std::array<CProbe, 2> probes{CProbe(key, at), CProbe(key, at)};
        QStringList answers{probes[0].Answer(), probes[1].Answer()};
        answers.sort();
        EXPECT_EQ(answers, QStringList({"first", "second"})) << "round " << round;
    }
}

// A program killed outright leaves its lock and socket behind; the next start takes over.
TEST(SingleInstance, TheLockAndSocketOfAKilledProgramAreTakenOver)
{
    QTemporaryDir home;
    const QString key = CSingleInstance::KeyFor(home.path());
    CProbe killed(key, 0);
    ASSERT_EQ(killed.Answer(), "first");
    killed.Kill();
    CSingleInstance next(key);
    EXPECT_TRUE(next.Claim());
}

} // namespace
