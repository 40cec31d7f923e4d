#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "store/recordcatalogue.h"
#include "store/recordrename.h"
#include "support/qtsupport.h"
#include "support/scopedenv.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
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
    EXPECT_EQ(list[0].path, Native(Path("Data/a_record.wav")));
    EXPECT_EQ(list[0].infoLength, 1024u);
    EXPECT_EQ(list[0].info, kMarkedInfo);
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
    EXPECT_EQ(list[2].path, Native(Path("card/Parlantographer/Data/06062026_120000.wav")));
}

// A program that keeps a lock on the record is using it: the delete waits a bounded time for
// a lock let go (an edit of another program), and is then refused with the file kept. A lock
// that marks a recording (or another program's POSIX lock) refuses it at once, for good or
// to the trash.
TEST_F(RecordCatalogueTest, ALockedRecordIsNeitherDeletedNorTrashed)
{
    const testsupport::CScopedEnv dataHome("XDG_DATA_HOME", Path("share").toStdString());
    const std::filesystem::path record = Native(Path("Data/a.wav"));
    Write("Data/a.wav", Wav(kMarkedInfo));
    const int held = ::open(record.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_SH), 0);
    EXPECT_EQ(DeleteRecord(record), InUse);
    EXPECT_TRUE(std::filesystem::exists(record));
    std::thread release([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::close(held);
    });
    EXPECT_EQ(DeleteRecord(record), Deleted);
    release.join();

    Write("Data/a.wav", Wav(kMarkedInfo));
    ASSERT_EQ(DeleteDisposal(record), EDisposal::Trash);
    const int recording = ::open(record.c_str(), O_RDWR);
    struct flock region = {};
    region.l_type = F_RDLCK;
    region.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(recording, F_OFD_SETLK, &region), 0);
    EXPECT_EQ(DeleteRecord(record), InUse);
    EXPECT_EQ(DisposeRecord(record, EDisposal::Trash), InUse);
    ::close(recording);
    EXPECT_EQ(DisposeRecord(record, EDisposal::Trash), Deleted);
    EXPECT_EQ(ReadAll(Path("share/Trash/files/a.wav")), Wav(kMarkedInfo));
    EXPECT_EQ(DeleteRecord(Native(Path("Data/gone.wav"))), Failed);
    EXPECT_EQ(TrashRecord(Native(Path("Data/gone.wav"))), Failed);
}

// "memo\xE9.wav" (Latin-1, not UTF-8) and "memo\xEF\xBF\xBD.wav" (U+FFFD in UTF-8) look alike
// as text; each is listed, trashed and renamed as itself. The trash records the original
// bytes, escaped, so the file manager restores the file under its own name.
TEST_F(RecordCatalogueTest, ANameThatIsNotUtf8IsReachedByItsOwnBytes)
{
    const testsupport::CScopedEnv dataHome("XDG_DATA_HOME", Path("share").toStdString());
    const std::filesystem::path folder = Native(Path("Data"));
    const std::filesystem::path latin = folder / "memo\xE9.wav";
    const std::filesystem::path replacement = folder / "memo\xEF\xBF\xBD.wav";
    ASSERT_TRUE(QDir().mkpath(Path("Data")));
    for (const auto& file : {latin, replacement})
        testsupport::WriteString(file, Wav(kMarkedInfo).toStdString());

    RecordList list;
    ScanRecordFolder(Path("Data"), m_tagger, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].fileName, list[1].fileName); // both show as "memo\uFFFD.wav"
    EXPECT_EQ(list[0].path, latin);
    EXPECT_EQ(list[1].path, replacement);

    EXPECT_EQ(TrashRecord(latin), Deleted);
    EXPECT_FALSE(std::filesystem::exists(latin));
    EXPECT_TRUE(std::filesystem::exists(replacement));
    const std::filesystem::path trash = Native(Path("share/Trash"));
    EXPECT_TRUE(std::filesystem::exists(trash / "files" / "memo\xE9.wav"));
    const std::string info = testsupport::ReadString(trash / "info" / "memo\xE9.wav.trashinfo");
    EXPECT_NE(info.find("\nPath=" + (folder / "memo%E9.wav").native() + "\n"), std::string::npos)
        << info;

    const RecordRename::SResult renamed = RecordRename::Rename(replacement, "Kept");
    EXPECT_EQ(renamed.status, RecordRename::EStatus::Renamed);
    EXPECT_EQ(renamed.newPath, folder / "Kept.wav");
    EXPECT_FALSE(std::filesystem::exists(replacement));
    // QTemporaryDir would not find a name it cannot spell.
    std::filesystem::remove_all(Native(m_dir.path()));
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
    EXPECT_EQ(DeleteDisposal(Native(Path("Data/a.wav"))), EDisposal::Permanent);
    // What the question promised is what happens: the trash refuses, nothing is lost.
    EXPECT_EQ(TrashRecord(Native(Path("Data/a.wav"))), Failed);
    EXPECT_TRUE(QFile::exists(Path("Data/a.wav")));
    EXPECT_EQ(DisposeRecord(Native(Path("Data/a.wav")), EDisposal::Permanent), Deleted);
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
