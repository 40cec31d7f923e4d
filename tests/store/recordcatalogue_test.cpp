#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "store/recordcatalogue.h"
#include "support/qtsupport.h"
#include "support/scopedenv.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using enum EDeleteResult;

class RecordCatalogueTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path(const QString& relative) const { return m_dir.path() + u'/' + relative; }
    void Write(const QString& relative, const QByteArray& bytes)
    {
        ASSERT_TRUE(WriteAll(Path(relative), bytes)) << relative.toStdString();
    }
    static QStringList Names(const RecordList& list)
    {
        QStringList names;
        for (const RecordEntry& entry : list)
            names.append(entry.fileName);
        return names;
    }

    QTemporaryDir m_dir;
    CAudioManager m_manager;
    CTagger& m_tagger = m_manager.GetTagger();
};

TEST_F(RecordCatalogueTest, ListsRecordsWithTheirWholeAreaAndSkipsEverythingElse)
{
    Write("Data/a_record.wav", Wav(kMarkedInfo));
    Write("Data/crashed.wav", Wav(kMarkedInfo, 4000, false)); // cut short, still a record
    Write("Data/foreign.wav", Wav(std::nullopt));
    Write("Data/unmarked.wav", Wav("[[Tags]]\n[[Tasks]]\n[[Contacts]]\n"));
    Write("Data/empty_info.wav", Wav(""));
    Write("Data/notes.txt", "*ParlantographerInfo*\n[[Tags]]\n");
    Write("Data/text.wav", "*ParlantographerInfo*\n[[Tags]]\n");
    Write("Data/empty.wav", "");
    Write("Data/raw.raw", QByteArray(8000, '\x80'));
    Write("Data/header_cut.wav", Wav(kMarkedInfo).left(600));
    QByteArray hugeCount = Wav(kMarkedInfo, 0);
    hugeCount[36] = hugeCount[37] = '\xFF'; // more information than the file holds
    Write("Data/huge_count.wav", hugeCount);
    Write("Data/.hidden.wav", Wav(kMarkedInfo));
    Write("Data/sub/inner.wav", Wav(kMarkedInfo));
    ASSERT_TRUE(QDir().mkpath(Path("Data/folder.wav")));
    ASSERT_TRUE(QFile::link(Path("Data/a_record.wav"), Path("Data/link.wav")));

    RecordList list;
    ScanRecordFolder(Path("Data"), m_tagger, list);
    ASSERT_EQ(Names(list), (QStringList{"a_record.wav", "crashed.wav"}));
    EXPECT_EQ(list[0].path, Path("Data/a_record.wav"));
    EXPECT_EQ(list[0].infoLength, 1024u);
    EXPECT_EQ(list[0].info, kMarkedInfo.leftJustified(1024, '\0'));
}

TEST_F(RecordCatalogueTest, ListsFoldersInOrderEachOnceAndEachFolderByName)
{
    // Written out of order: the listing order of the file system is not the list order.
    Write("Data/12052026_071530.wav", Wav(kMarkedInfo));
    Write("Data/01012026_000000.wav", Wav(kMarkedInfo));
    Write("card/Parlantographer/Data/06062026_120000.wav", Wav(kMarkedInfo));
    Write("card/Brindlewares Parlantographer/Data/01012020_000000.wav", Wav(kMarkedInfo));
    ASSERT_TRUE(QFile::link(Path("Data"), Path("alias")));

    const RecordList list = BuildRecordList(
        {Path("Data"), Path("card/Parlantographer/Data/"),
         Path("card/Brindlewares Parlantographer/Data"), Path("Data/"), Path("alias"),
         Path("x/../Data"), Path("Program Files/Brindlewares/Parlantographer/Data")},
        m_tagger);
    EXPECT_EQ(Names(list), (QStringList{"01012026_000000.wav", "12052026_071530.wav",
                                        "06062026_120000.wav", "01012020_000000.wav"}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[2].path, Path("card/Parlantographer/Data/06062026_120000.wav"));
}

// A program that holds a lock on the record is using it: the delete, for good or to the
// trash, is refused and the file stays.
TEST_F(RecordCatalogueTest, ALockedRecordIsNeitherDeletedNorTrashed)
{
    const testsupport::CScopedEnv dataHome("XDG_DATA_HOME", Path("share").toStdString());
    const QString record = Path("Data/a.wav");
    for (const bool whole : {true, false}) {
        Write("Data/a.wav", Wav(kMarkedInfo));
        ASSERT_EQ(DeleteDisposal(record), EDisposal::Trash);
        const int fd = ::open(record.toLocal8Bit().constData(), O_RDWR);
        ASSERT_GE(fd, 0);
        struct flock region = {};
        region.l_type = F_RDLCK;
        region.l_whence = SEEK_SET;
        ASSERT_EQ(whole ? ::flock(fd, LOCK_SH) : ::fcntl(fd, F_OFD_SETLK, &region), 0);
        EXPECT_EQ(DeleteRecord(record), InUse);
        EXPECT_EQ(DisposeRecord(record, EDisposal::Trash), InUse);
        EXPECT_TRUE(QFile::exists(record));
        ::close(fd);
        EXPECT_EQ(whole ? DeleteRecord(record) : DisposeRecord(record, EDisposal::Trash), Deleted);
        EXPECT_FALSE(QFile::exists(record));
    }
    EXPECT_EQ(ReadAll(Path("share/Trash/files/a.wav")), Wav(kMarkedInfo));
    EXPECT_EQ(DeleteRecord(Path("Data/gone.wav")), Failed);
    EXPECT_EQ(TrashRecord(Path("Data/gone.wav")), Failed);
}

TEST_F(RecordCatalogueTest, AHomeTrashOnAnotherDeviceMeansDeletingForGood)
{
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/trash-XXXXXX"));
    struct stat shm = {}, here = {};
    if (!elsewhere.isValid() || ::stat("/dev/shm", &shm) != 0 ||
        ::stat(m_dir.path().toLocal8Bit().constData(), &here) != 0 || shm.st_dev == here.st_dev)
        GTEST_SKIP() << "no second file system at hand";
    const testsupport::CScopedEnv dataHome("XDG_DATA_HOME", elsewhere.path().toStdString());
    Write("Data/a.wav", Wav(kMarkedInfo));
    if (QStorageInfo(Path("Data")) != QStorageInfo(QDir::home()))
        GTEST_SKIP() << "the records are not on the home's volume";
    EXPECT_EQ(DeleteDisposal(Path("Data/a.wav")), EDisposal::Permanent);
    // What the question promised is what happens: the trash refuses, nothing is lost.
    EXPECT_EQ(TrashRecord(Path("Data/a.wav")), Failed);
    EXPECT_TRUE(QFile::exists(Path("Data/a.wav")));
    EXPECT_EQ(DisposeRecord(Path("Data/a.wav"), EDisposal::Permanent), Deleted);
}

TEST(SelectionAfterDeleteTest, SelectsTheNextItemOrThePreviousAtTheEnd)
{
    struct SCase
    {
        int count, deleted, selected;
    };
    for (const SCase c : {SCase{3, 2, 1}, SCase{3, 0, 0}, SCase{3, 1, 1}, SCase{2, 1, 0},
                          SCase{1, 0, -1}, SCase{3, 3, -1}, SCase{3, -1, -1}, SCase{0, 0, -1}})
        EXPECT_EQ(SelectionAfterDelete(c.count, c.deleted), c.selected)
            << c.deleted << " of " << c.count;
}

} // namespace
