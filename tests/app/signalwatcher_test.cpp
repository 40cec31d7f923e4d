#include "app/signalwatcher.h"

#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(SignalWatcher, TurnsTermAndIntIntoOneQueuedSignalEach)
{
    CSignalWatcher watcher;
    ASSERT_TRUE(watcher.IsActive());
    QSignalSpy terminated(&watcher, &CSignalWatcher::Terminated);
    std::raise(SIGTERM);
    std::raise(SIGINT);
    // Nothing is emitted inside the handler: only the event loop delivers.
    EXPECT_EQ(terminated.count(), 0);
    ASSERT_TRUE(terminated.wait(2000));
    if (terminated.count() < 2)
        terminated.wait(500);
    ASSERT_EQ(terminated.count(), 2);
    EXPECT_EQ(terminated.at(0).at(0).toInt(), SIGTERM);
    EXPECT_EQ(terminated.at(1).at(0).toInt(), SIGINT);
}

TEST(SignalWatcher, OnlyOneWatchesAtATimeAndTheHandlersAreRestored)
{
    {
        CSignalWatcher first;
        CSignalWatcher second;
        EXPECT_TRUE(first.IsActive());
        EXPECT_FALSE(second.IsActive());
    }
    struct sigaction current = {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    CSignalWatcher again;
    EXPECT_TRUE(again.IsActive());
}

} // namespace
