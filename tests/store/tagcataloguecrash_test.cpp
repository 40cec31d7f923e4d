#include "store/tagcatalogue.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// A process killed while it rewrites the catalogue must leave one whole version of it,
// never a truncated or mixed file.
TEST(TagCatalogueCrashTest, AKilledWriterLeavesAWholeVersion)
{
    QTemporaryDir dir;
    const CTagCatalogue catalogue(dir.path());

    // A catalogue large enough that a rewrite takes more than one write call.
    QByteArray without = "[Priority]\nImportant\nNormal\nInessential\n[Bulk]\n";
    for (int i = 0; i < 400; ++i)
        without += "bulk tag number " + QByteArray::number(i) + " with some padding text\n";
    const QByteArray with = QByteArray(without).replace("Inessential\n", "Inessential\nUrgent\n");
    ASSERT_TRUE(WriteAll(catalogue.Path(), without));

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    int sawWithout = 0, sawWith = 0;
    for (int round = 0; round < 60; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            close(ready[0]);
            for (bool first = true;; first = false) {
                // The previous writer may have been killed with the tag in place.
                const ECatalogueResult added = catalogue.AddTag(u"Priority"_qs, u"Urgent"_qs);
                if ((added != ECatalogueResult::Ok && added != ECatalogueResult::AlreadyExists) ||
                    !catalogue.DeleteTag(u"Priority"_qs, u"Urgent"_qs))
                    _exit(3); // the parent sees an exit instead of a kill and fails
                // Once the writer runs at full pace, the parent picks its moment.
                if (first && write(ready[1], "r", 1) != 1)
                    _exit(4);
            }
        }
        close(ready[1]);
        char byte = 0;
        const bool started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(started && WIFSIGNALED(status))
            << "the writer failed on its own in round " << round;

        const QByteArray now = ReadAll(catalogue.Path());
        ASSERT_TRUE(now == without || now == with)
            << "round " << round << ": " << now.size() << " bytes";
        (now == with ? sawWith : sawWithout)++;
    }
    // The writer must really have been caught at work, in both states.
    EXPECT_GT(sawWith, 0);
    EXPECT_GT(sawWithout, 0);
}

} // namespace
