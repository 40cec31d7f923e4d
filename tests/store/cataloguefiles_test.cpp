// The catalogue and settings files under hostile conditions: a full disk, two processes
// changing them at once, a writer killed half-way, links out of the home, a FIFO in a
// catalogue's place.

#include "store/cataloguelock.h"
#include "store/locationlist.h"
#include "store/settingsstore.h"
#include "store/tagcatalogue.h"
#include "support/qtsupport.h"
#include "support/smalltmpfs.h"

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class CatalogueFilesTest : public testing::Test
{
protected:
    QString Home() const { return m_dir.path() + "/home"; }
    QString HomeFile(const char* name) const { return Home() + "/" + name; }

    QTemporaryDir m_dir;
};

// A full disk: every write fails, reports it, and leaves the old file whole.
TEST_F(CatalogueFilesTest, AFullDiskKeepsEveryOldFile)
{
    const CSmallTmpfs disk(Home());
    if (!disk.Mounted())
        GTEST_SKIP() << "a full file system needs root to mount";
    const CTagCatalogue tags(Home());
    const CLocationList locations(Home());
    CSettingsStore settings(HomeFile("settings.ini"));
    ASSERT_TRUE(tags.EnsureDefaultGroups());
    ASSERT_TRUE(locations.AddLocation("Office"));
    ASSERT_TRUE(settings.SetStorage("Device memory"));
    const QByteArray groups = ReadAll(tags.Path()), places = ReadAll(locations.Path()),
                     ini = ReadAll(HomeFile("settings.ini"));
    disk.Fill();

    EXPECT_EQ(tags.AddGroup("Work"), ECatalogueResult::WriteFailed);
    EXPECT_EQ(tags.AddTag("Priority", "Urgent"), ECatalogueResult::WriteFailed);
    EXPECT_FALSE(locations.AddLocation("Home"));
    EXPECT_FALSE(settings.SetStorage("CARD"));
    EXPECT_EQ(ReadAll(tags.Path()), groups);
    EXPECT_EQ(ReadAll(locations.Path()), places);
    EXPECT_EQ(ReadAll(HomeFile("settings.ini")), ini);
    EXPECT_EQ(settings.Storage(), "Device memory");
    // Nothing but the files, their locks and what fills the disk: no temporary
    // ".<name>.XXXXXX" or working copy.
    EXPECT_EQ(QDir(Home()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"filler", "groups.dat", "groups.dat.lock", "locations.dat",
                           "locations.dat.lock", "settings.ini", "settings.ini.lock"}));
}

// Two processes adding at once lose nothing: each change runs under the lock.
TEST_F(CatalogueFilesTest, TwoProcessesChangingAtOnceLoseNothing)
{
    ASSERT_TRUE(QDir().mkpath(Home()));
    const CTagCatalogue tags(Home());
    ASSERT_TRUE(tags.EnsureDefaultGroups());
    constexpr int kEach = 60;
    const auto work = [&](const QString& who) {
        const CLocationList locations(Home());
        CSettingsStore settings(HomeFile("settings.ini"));
        bool ok = true;
        for (int i = 0; i < kEach; ++i) {
            const QString n = QString::number(i);
            ok = tags.AddTag("Priority", who + n) == ECatalogueResult::Ok && ok;
            ok = locations.AddLocation(who + n) && ok;
            ok = (who == "child" ? settings.SetPimFolder(n) : settings.SetStorage(n)) && ok;
        }
        return ok;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(work("child") ? 0 : 1);
    EXPECT_TRUE(work("parent"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);

    EXPECT_EQ(tags.ListTagsOfGroup("Priority").size(), 3 + 2 * kEach);
    EXPECT_EQ(CLocationList(Home()).FillLocations().size(), 2 * kEach);
    const CSettingsStore settings(HomeFile("settings.ini"));
    EXPECT_EQ(settings.PimFolder(), QString::number(kEach - 1));
    EXPECT_EQ(settings.Storage(), QString::number(kEach - 1));
}

// A program that hangs while it holds the catalogue's lock (here a child that keeps it for
// longer than any change waits) makes a change fail with "in use" after a bounded wait, and
// change nothing; it never freezes the caller.
TEST_F(CatalogueFilesTest, ALockKeptByAnotherProgramIsReportedInUse)
{
    ASSERT_TRUE(QDir().mkpath(Home()));
    const CTagCatalogue tags(Home());
    ASSERT_TRUE(tags.EnsureDefaultGroups());
    const QByteArray before = ReadAll(tags.Path());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const CCatalogueLock held(tags.Path());
        const bool wrote = held.Held() && ::write(ready[1], "h", 1) == 1;
        ::sleep(wrote ? 20 : 0);
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);

    EXPECT_EQ(tags.AddGroup("Work"), ECatalogueResult::InUse);
    EXPECT_TRUE(CTagCatalogue::Message(ECatalogueResult::InUse, true)
                    .contains("the catalogue is in use by another program"));
    EXPECT_FALSE(tags.DeleteGroup("Priority"));
    EXPECT_EQ(tags.WriteFailureMessage(),
              "The tags file could not be saved: the catalogue is in use by another program.");
    EXPECT_EQ(ReadAll(tags.Path()), before);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

// A link out of the home is never written through; one inside it is. A FIFO in a
// catalogue's place neither blocks a reader nor is replaced.
TEST_F(CatalogueFilesTest, LinksOutOfTheHomeAndFifosAreRefused)
{
    ASSERT_TRUE(QDir().mkpath(Home() + "/inside"));
    const QString outside = m_dir.path() + "/outside.txt";
    ASSERT_TRUE(WriteAll(outside, "[Precious]\n"));
    ASSERT_TRUE(QFile::link(outside, HomeFile("groups.dat")));
    ASSERT_TRUE(QFile::link(outside, HomeFile("locations.dat")));
    EXPECT_EQ(CTagCatalogue(Home()).AddGroup("Work"), ECatalogueResult::WriteFailed);
    EXPECT_FALSE(CLocationList(Home()).AddLocation("Office"));
    EXPECT_EQ(ReadAll(outside), "[Precious]\n");

    ASSERT_TRUE(QFile::remove(HomeFile("groups.dat")));
    ASSERT_TRUE(WriteAll(Home() + "/inside/groups.dat", "[Priority]\n"));
    ASSERT_TRUE(QFile::link(Home() + "/inside/groups.dat", HomeFile("groups.dat")));
    EXPECT_EQ(CTagCatalogue(Home()).AddGroup("Work"), ECatalogueResult::Ok);
    EXPECT_EQ(ReadAll(Home() + "/inside/groups.dat"), "[Priority]\n[Work]\n");
    EXPECT_TRUE(QFileInfo(HomeFile("groups.dat")).isSymLink());

    ASSERT_TRUE(QFile::remove(HomeFile("groups.dat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(HomeFile("groups.dat")).constData(), 0600), 0);
    const CTagCatalogue fifo(Home());
    EXPECT_TRUE(fifo.ListGroups().isEmpty());
    EXPECT_FALSE(fifo.EnsureDefaultGroups());
    EXPECT_EQ(fifo.AddGroup("Work"), ECatalogueResult::WriteFailed);
    EXPECT_FALSE(QFileInfo(HomeFile("groups.dat")).isFile());
}

// The one-pass listing gives what asking group by group gives, repeated groups included.
TEST_F(CatalogueFilesTest, ListingAllInOnePassMatchesGroupByGroup)
{
    ASSERT_TRUE(WriteAll(HomeFile("groups.dat"),
                         "stray\n[A]\na1\n[B]\n[A]\na2\n[]\nempty-named\n[C]\nc1\nc2\n"));
    const CTagCatalogue tags(Home());
    QList<QPair<QString, QStringList>> expected;
    for (const QString& group : tags.ListGroups())
        expected.append({group, tags.ListTagsOfGroup(group)});
    EXPECT_EQ(tags.ListAll(), expected);
    EXPECT_EQ(tags.ListAll().size(), 5);
}

// A process killed while it rewrites the catalogue must leave one whole version of it,
// never a truncated or mixed file.
TEST_F(CatalogueFilesTest, AKilledWriterLeavesAWholeVersion)
{
    const CTagCatalogue catalogue(m_dir.path());

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

    // The next write removes the temporary files the killed writers left, but not one that
    // a live writer holds.
    const QString temporaries = "." + QFileInfo(catalogue.Path()).fileName() + ".*";
    const QString leftover = m_dir.path() + "/.groups.dat.Ab12Cd";
    const QString live = m_dir.path() + "/.groups.dat.Ef34Gh";
    ASSERT_TRUE(WriteAll(leftover, "half a catalogue"));
    ASSERT_TRUE(WriteAll(live, "being written"));
    QFile held(live);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    ASSERT_EQ(flock(held.handle(), LOCK_EX), 0);
    ASSERT_EQ(catalogue.AddTag(u"Priority"_qs, u"Later"_qs), ECatalogueResult::Ok);
    EXPECT_EQ(QDir(m_dir.path()).entryList({temporaries}, QDir::Files | QDir::Hidden),
              QStringList{".groups.dat.Ef34Gh"});
}

} // namespace
