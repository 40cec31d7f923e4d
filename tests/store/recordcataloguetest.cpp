#include "store/recordcatalogue.h"

#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "recordfiles.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using namespace recordfiles;

namespace {

class RecordCatalogueTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path(const QString& relative) const { return m_dir.path() + u'/' + relative; }
    void Write(const QString& relative, const QByteArray& bytes)
    {
        ASSERT_TRUE(WriteBytes(Path(relative), bytes)) << relative.toStdString();
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

TEST_F(RecordCatalogueTest, EntryHoldsPathNameAndTheWholeInformationArea)
{
    Write("Data/01022026_101500.wav", PcmRecord(kMarkedInfo));
    RecordList list;
    ScanRecordFolder(Path("Data"), m_tagger, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, Path("Data/01022026_101500.wav"));
    EXPECT_EQ(list[0].fileName, "01022026_101500.wav");
    EXPECT_EQ(list[0].infoLength, 1024u);
    EXPECT_EQ(list[0].info, kMarkedInfo + QByteArray(1024 - kMarkedInfo.size(), '\0'));
}

TEST_F(RecordCatalogueTest, SkipsEverythingThatIsNotARecord)
{
    Write("Data/a_record.wav", PcmRecord(kMarkedInfo));
    Write("Data/crashed.wav", PcmRecord(kMarkedInfo, 4000, false)); // listed: fault 5
    Write("Data/foreign.wav", ForeignWav());
    Write("Data/unmarked.wav", PcmRecord("[[Tags]]\n[[Tasks]]\n[[Contacts]]\n"));
    Write("Data/marker_late.wav", PcmRecord(" *ParlantographerInfo*\n"));
    Write("Data/empty_info.wav", PcmRecord(""));
    Write("Data/notes.txt", "*ParlantographerInfo*\n[[Tags]]\n");
    Write("Data/text.wav", "*ParlantographerInfo*\n[[Tags]]\n");
    Write("Data/empty.wav", "");
    Write("Data/riff.ogg", PcmRecord(kMarkedInfo));
    Write("Data/raw.raw", QByteArray(8000, '\x80'));
    Write("Data/header_cut.wav", PcmRecord(kMarkedInfo).left(600));
    QByteArray hugeCount = PcmRecord(kMarkedInfo, 0);
    PutLittleEndian(hugeCount, 36, 0xFFFF, 2); // more information than the file holds
    Write("Data/huge_count.wav", hugeCount);
    Write("Data/.hidden.wav", PcmRecord(kMarkedInfo));
    Write("Data/sub/inner.wav", PcmRecord(kMarkedInfo));
    ASSERT_TRUE(QDir().mkpath(Path("Data/folder.wav")));
    ASSERT_TRUE(QFile::link(Path("Data/a_record.wav"), Path("Data/link.wav")));

    RecordList list;
    ScanRecordFolder(Path("Data"), m_tagger, list);
    EXPECT_EQ(Names(list), (QStringList{"a_record.wav", "crashed.wav"}));
}

TEST_F(RecordCatalogueTest, ListsFoldersInOrderAndEachFolderByName)
{
    // Written out of order: the listing order of the file system is not the list order.
    Write("Data/12052026_071530.wav", PcmRecord(kMarkedInfo));
    Write("Data/01012026_000000.wav", PcmRecord(kMarkedInfo));
    Write("card/Parlantographer/Data/06062026_120000.wav", PcmRecord(kMarkedInfo));
    Write("card/Brindlewares Parlantographer/Data/01012020_000000.wav", PcmRecord(kMarkedInfo));

    const QStringList folders{Path("Data"), Path("card/Parlantographer/Data/"),
                              Path("card/Brindlewares Parlantographer/Data"),
                              Path("Program Files/Brindlewares/Parlantographer/Data")};
    const RecordList list = BuildRecordList(folders, m_tagger);
    EXPECT_EQ(Names(list), (QStringList{"01012026_000000.wav", "12052026_071530.wav",
                                        "06062026_120000.wav", "01012020_000000.wav"}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[2].path, Path("card/Parlantographer/Data/06062026_120000.wav"));
}

TEST_F(RecordCatalogueTest, FolderNamedTwiceIsScannedOnce)
{
    Write("Data/01012026_000000.wav", PcmRecord(kMarkedInfo));
    ASSERT_TRUE(QFile::link(Path("Data"), Path("alias")));
    const RecordList list =
        BuildRecordList({Path("Data"), Path("Data/"), Path("alias"), Path("x/../Data")}, m_tagger);
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(RecordCatalogueTest, RebuildReplacesAndFreeEmpties)
{
    Write("Data/a.wav", PcmRecord(kMarkedInfo));
    RecordList list = BuildRecordList({Path("Data")}, m_tagger);
    ASSERT_TRUE(QFile::remove(Path("Data/a.wav")));
    Write("Data/b.wav", PcmRecord(kMarkedInfo));
    list = BuildRecordList({Path("Data")}, m_tagger);
    EXPECT_EQ(Names(list), QStringList{"b.wav"});
    FreeRecordList(list);
    EXPECT_TRUE(list.empty());
}

// ---- deleting -------------------------------------------------------------------------

TEST_F(RecordCatalogueTest, DeleteRemovesTheFile)
{
    Write("Data/a.wav", PcmRecord(kMarkedInfo));
    EXPECT_EQ(DeleteRecord(Path("Data/a.wav")), EDeleteResult::Deleted);
    EXPECT_FALSE(QFile::exists(Path("Data/a.wav")));
}

// A program that holds a lock on the record is using it: the delete is refused and the
// file stays.
TEST_F(RecordCatalogueTest, DeleteRefusesARecordLockedByAnotherOpenFile)
{
    enum class ELock
    {
        Flock,
        OpenFileDescription
    };
    for (const ELock lock : {ELock::Flock, ELock::OpenFileDescription}) {
        Write("Data/a.wav", PcmRecord(kMarkedInfo));
        const int fd = ::open(Path("Data/a.wav").toLocal8Bit().constData(), O_RDWR);
        ASSERT_GE(fd, 0);
        if (lock == ELock::Flock) {
            ASSERT_EQ(::flock(fd, LOCK_SH), 0);
        } else {
            struct flock region = {};
            region.l_type = F_RDLCK;
            region.l_whence = SEEK_SET;
            ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &region), 0);
        }
        EXPECT_EQ(DeleteRecord(Path("Data/a.wav")), EDeleteResult::InUse);
        EXPECT_TRUE(QFile::exists(Path("Data/a.wav")));
        ::close(fd);
        EXPECT_EQ(DeleteRecord(Path("Data/a.wav")), EDeleteResult::Deleted);
    }
}

TEST_F(RecordCatalogueTest, DeleteOfAMissingFileFailsForAnUnknownReason)
{
    EXPECT_EQ(DeleteRecord(Path("Data/gone.wav")), EDeleteResult::Failed);
}

TEST(RecordCatalogueMessageTest, MessagesAreTheDocumentedTexts)
{
    EXPECT_EQ(DeleteRecordMessage(EDeleteResult::InUse),
              "Can't delete this record because it is used by other application.");
    EXPECT_EQ(DeleteRecordMessage(EDeleteResult::Failed),
              "Can't delete this record because of an unknown reason.");
    EXPECT_TRUE(DeleteRecordMessage(EDeleteResult::Deleted).isEmpty());
}

struct SSelectionCase
{
    int count;
    int deleted;
    int selected;
};

class SelectionAfterDeleteTest : public testing::TestWithParam<SSelectionCase>
{
};

TEST_P(SelectionAfterDeleteTest, SelectsTheNextItemOrThePreviousAtTheEnd)
{
    const SSelectionCase& c = GetParam();
    EXPECT_EQ(SelectionAfterDelete(c.count, c.deleted), c.selected)
        << c.deleted << " of " << c.count;
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectionAfterDeleteTest,
                         testing::Values(SSelectionCase{3, 2, 1}, // last of three: the second
                                         SSelectionCase{3, 0, 0}, // first: the new first
                                         SSelectionCase{3, 1, 1}, // middle: the one after
                                         SSelectionCase{2, 1, 0}, SSelectionCase{1, 0, -1},
                                         SSelectionCase{3, 3, -1}, SSelectionCase{3, -1, -1},
                                         SSelectionCase{0, 0, -1}));

} // namespace
