#include "app/singleinstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
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
}

TEST(SingleInstance, KeysDifferPerHomeAndALeftoverSocketIsTakenOver)
{
    EXPECT_NE(CSingleInstance::KeyFor("/tmp/a"), CSingleInstance::KeyFor("/tmp/b"));
    QTemporaryDir home;
    const QString key = CSingleInstance::KeyFor(home.path());
    {
        CSingleInstance crashed(key);
        ASSERT_TRUE(crashed.Claim());
    }
    CSingleInstance next(key);
    EXPECT_TRUE(next.Claim());
}

} // namespace
