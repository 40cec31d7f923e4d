#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "platform/simwavebackend.h"
#include "store/recordcatalogue.h"
#include "store/recordingsession.h"
#include "store/storage.h"
#include "support/qtsupport.h"
#include "support/smalltmpfs.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {

// A session on the simulated device, as fast as it goes, with a free space the test sets.
class RecordingSessionTest : public ::testing::Test
{
protected:
    void MakeSession(const QString& input = {}, bool realtime = false)
    {
        SSimWaveConfig config{input.toStdString(), {}, realtime};
        m_audio = std::make_unique<CAudioManager>(std::make_unique<CSimWaveBackend>(config));
        m_session = std::make_unique<CRecordingSession>(*m_audio);
    }

    CRecordingSession::SRequest Request(const QStringList& names, bool fixed = false)
    {
        CRecordingSession::SRequest request;
        request.info = "*ParlantographerInfo*\n";
        request.fixedName = fixed;
        request.freeBytes = [this] {
            return m_freeBytes;
        };
        request.nextPath = [this, names, next = 0]() mutable {
            return SRecordPath{m_folder + "/" + names[std::min<int>(next++, names.size() - 1)], {}};
        };
        return request;
    }

    QTemporaryDir m_dir;
    QString m_folder = m_dir.path() + "/Data";
    double m_freeBytes = 1e9;
    std::unique_ptr<CAudioManager> m_audio;
    std::unique_ptr<CRecordingSession> m_session;
};

TEST_F(RecordingSessionTest, ARefusedStartLeavesTheDiskAsItWas)
{
    ASSERT_TRUE(WriteAll(m_folder + "/taken.wav", "keep me"));
    MakeSession();
    m_freeBytes = 999999;
    EXPECT_EQ(m_session->Start(Request({"new.wav"})).refusal, EStartRefusal::NoRoom);
    m_freeBytes = 1e9;
    EXPECT_EQ(m_session->Start(Request({"taken.wav"}, true)).refusal, EStartRefusal::NameTaken);
    EXPECT_EQ(ReadAll(m_folder + "/taken.wav"), "keep me");

    MakeSession(m_dir.path() + "/no-such-input.raw"); // the device cannot open its input
    const auto start = m_session->Start(Request({"new.wav"}));
    EXPECT_EQ(start.refusal, EStartRefusal::EngineError);
    EXPECT_FALSE(start.message.isEmpty());
    EXPECT_FALSE(m_session->IsRecording());
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files), QStringList{"taken.wav"});
}

// A name taken meanwhile (another recording in the same second) moves on to the next.
TEST_F(RecordingSessionTest, ATakenNameMovesOnAndTheRecordEndsOnItsLimit)
{
    ASSERT_TRUE(WriteAll(m_folder + "/first.wav", "keep me"));
    MakeSession();
    auto request = Request({"first.wav", "second.wav"});
    request.sampleLimit = 8000;
    ASSERT_TRUE(m_session->Start(request).Ok());
    EXPECT_EQ(m_session->Path(), m_folder + "/second.wav");
    ERecordingEnd end = ERecordingEnd::Running;
    for (int i = 0; i < 500 && end == ERecordingEnd::Running; ++i)
        end = m_session->Wait(std::chrono::milliseconds(20));
    EXPECT_EQ(end, ERecordingEnd::LimitReached);
    EXPECT_FALSE(m_session->Stop());
    EXPECT_EQ(QFileInfo(m_session->Path()).size(), 1070 + 8000);
    EXPECT_EQ(ReadAll(m_folder + "/first.wav"), "keep me");
}

// A record being written is "in use" for every delete, to the trash or for good. The ends
// that come from outside: the storage filling up, the record's folder vanishing.
TEST_F(RecordingSessionTest, ARecordInProgressIsInUseUntilLowSpaceOrARemovedFolderEndsIt)
{
    MakeSession();
    ASSERT_TRUE(QDir().mkpath(m_folder));
    ASSERT_TRUE(m_session->Start(Request({"a.wav"})).Ok());
    EXPECT_EQ(m_session->Check(), ERecordingEnd::Running);
    EXPECT_EQ(DeleteRecord(Native(m_session->Path())), EDeleteResult::InUse);
    EXPECT_EQ(TrashRecord(Native(m_session->Path())), EDeleteResult::InUse);
    m_freeBytes = 999999;
    EXPECT_EQ(m_session->Check(), ERecordingEnd::LowSpace);
    EXPECT_FALSE(m_session->Stop());
    EXPECT_EQ(DeleteRecord(Native(m_session->Path())), EDeleteResult::Deleted);

    m_freeBytes = 1e9;
    ASSERT_TRUE(m_session->Start(Request({"b.wav"})).Ok());
    ASSERT_TRUE(QDir(m_folder).removeRecursively());
    EXPECT_EQ(m_session->Check(), ERecordingEnd::VolumeRemoved);
    m_session->Stop();
    EXPECT_FALSE(m_session->IsRecording());
}

// The session holds the file it records into: a record renamed by another program while it is
// recorded gets its information at the stop, and a file that takes its old name gets nothing.
TEST_F(RecordingSessionTest, TheStopWritesIntoTheRecordedFileWhateverItsNameHasBecome)
{
    MakeSession();
    ASSERT_TRUE(QDir().mkpath(m_folder));
    auto request = Request({"a.wav"});
    request.sampleLimit = 8000;
    ASSERT_TRUE(m_session->Start(request).Ok());
    ASSERT_TRUE(QFile::rename(m_folder + "/a.wav", m_folder + "/b.wav"));
    ASSERT_TRUE(WriteAll(m_folder + "/a.wav", "someone else's"));
    ERecordingEnd end = ERecordingEnd::Running;
    for (int i = 0; i < 500 && end == ERecordingEnd::Running; ++i)
        end = m_session->Wait(std::chrono::milliseconds(20));
    EXPECT_EQ(m_session->Stop(), std::nullopt);
    EXPECT_EQ(ReadAll(m_folder + "/a.wav"), "someone else's");
    EXPECT_EQ(QFileInfo(m_folder + "/b.wav").size(), 1070 + 8000);
    EXPECT_EQ(m_audio->GetTagger().ReadRecordInfo(Native(m_folder + "/b.wav")),
              request.info.leftJustified(1024, '\0').toStdString());
}

// As fast as the device goes, the recording still stops at the reserve: the free space is
// weighed against what is written. A write that fails ends the recording with what it holds.
TEST_F(RecordingSessionTest, AFullStorageEndsTheRecordingWithWhatWasWritten)
{
    MakeSession();
    ASSERT_TRUE(QDir().mkpath(m_folder));
    m_freeBytes = 1000000 + 16000;
    ASSERT_TRUE(m_session->Start(Request({"a.wav"})).Ok());
    ERecordingEnd end = ERecordingEnd::Running;
    for (int i = 0; i < 500 && end == ERecordingEnd::Running; ++i)
        end = m_session->Wait(std::chrono::milliseconds(20));
    EXPECT_EQ(end, ERecordingEnd::LowSpace);
    EXPECT_FALSE(m_session->Stop());
    // The format's nominal rate decides (460 KB a minute for PCM), so it stops close to it.
    EXPECT_NEAR(QFileInfo(m_session->Path()).size(), 1070 + 16000, 500);

    const CSmallTmpfs card(m_dir.path() + "/card", "256k");
    if (!card.Mounted())
        GTEST_SKIP() << "a full file system needs root to mount";
    m_folder = m_dir.path() + "/card";
    m_freeBytes = 1e9; // a free-space figure that lies: only the write can tell
    ASSERT_TRUE(m_session->Start(Request({"b.wav"})).Ok());
    end = ERecordingEnd::Running;
    for (int i = 0; i < 500 && end == ERecordingEnd::Running; ++i)
        end = m_session->Wait(std::chrono::milliseconds(20));
    EXPECT_EQ(end, ERecordingEnd::WriteFailed);
    m_session->Stop();
    EXPECT_GT(QFileInfo(m_folder + "/b.wav").size(), 1070 + 8000);
    EXPECT_GT(m_audio->GetRecordSamples((m_folder + "/b.wav").toStdString()), 8000u);
}

// A pause keeps the session's watch on the ends, and the record it makes is dated by its
// start: its modification time less its length, as a copy is dated, is when it began.
TEST_F(RecordingSessionTest, APausedRecordKeepsItsStartAsItsDate)
{
    MakeSession({}, true);
    ASSERT_TRUE(QDir().mkpath(m_folder));
    const QDateTime started = QDateTime::currentDateTime();
    ASSERT_TRUE(m_session->Start(Request({"a.wav"})).Ok());
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ASSERT_TRUE(m_session->Pause());
    EXPECT_TRUE(m_session->IsPaused());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(m_session->Resume());
    EXPECT_FALSE(m_session->Resume());
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    m_freeBytes = 999999;
    ASSERT_TRUE(m_session->Pause());
    EXPECT_EQ(m_session->Check(), ERecordingEnd::LowSpace);
    EXPECT_FALSE(m_session->Stop());
    EXPECT_FALSE(m_session->IsPaused());

    const double seconds =
        static_cast<double>(m_audio->GetRecordSamples(Native(m_session->Path()))) / 8000;
    EXPECT_NEAR(seconds, 1.2, 0.3);
    const QDateTime modified = QFileInfo(m_session->Path()).lastModified();
    EXPECT_NEAR(static_cast<double>(started.msecsTo(modified)) / 1000 - seconds, 0, 0.3);
}

} // namespace
