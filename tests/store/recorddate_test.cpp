#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "platform/wavebackend.h"
#include "store/recorddate.h"
#include "store/recordorder.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(RecordDate, ReadsOnlyRealMomentsFromRecordNames)
{
    for (const auto& [name, expected, variant] :
         std::initializer_list<std::tuple<const char*, QDateTime, int>>{
             {"01012027_000000.wav", QDateTime(QDate(2027, 1, 1), QTime(0, 0)), 1},
             {"12312026_235959_2.ogg", QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), 2},
             {"02292028_071530", QDateTime(QDate(2028, 2, 29), QTime(7, 15, 30)), 1}}) {
        EXPECT_EQ(RecordDate::FromFileName(name), expected) << name;
        EXPECT_EQ(RecordDate::VariantOfFileName(name), variant) << name;
    }
    // No 29 February in 2027; the first record carries no variant, the others no leading zero.
    for (const char* name : {"02292027_071530.wav", "13012027_000000.wav", "01012027_240000.wav",
                             "01012027_000000_1.wav", "01012027_000000_02.wav",
                             "01012027_000000x.wav", "x01012027_000000.wav", "Meeting.wav"}) {
        EXPECT_FALSE(RecordDate::FromFileName(name)) << name;
        EXPECT_EQ(RecordDate::VariantOfFileName(name), 0) << name;
    }
}

// 30 s of audio in an engine record of either format, written now.
QString ThirtySecondRecord(const QString& path, std::uint32_t codec)
{
    CAudioManager manager;
    manager.SetCodec(codec);
    const auto encoder = manager.CreateEncoder(codec);
    encoder->SetInfo(kMarkedInfo.toStdString());
    encoder->Open(path.toStdString(), false);
    const std::vector<std::uint8_t> second(8000, 0x90);
    for (int s = 0; s < 30; ++s)
        encoder->Write(second, s == 29);
    encoder->Close();
    return path;
}

void SetModified(const QString& path, const QDateTime& moment)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(moment, QFileDevice::FileModificationTime));
}

// A record renamed from its dated name keeps the moment its recording started, not the
// moment it ended (its modification time): near midnight that is another day.
TEST(RecordDate, ARenamedRecordKeepsTheMomentItWasRecorded)
{
    using RecordDate::FromFileTimes;
    const QDateTime start(QDate(2026, 3, 4), QTime(23, 50, 12));
    const QDateTime end = start.addSecs(1800);
    // Born where it is, its first samples two seconds later; changed again last week.
    EXPECT_EQ(FromFileTimes(start.addMSecs(400), end, 1798.0), start);
    EXPECT_EQ(FromFileTimes(start, end.addDays(90), 1800.0), start);
    EXPECT_EQ(FromFileTimes(end.addDays(40), end, 1799.6), start) << "a copy, born later";
    EXPECT_EQ(FromFileTimes(QDateTime::fromSecsSinceEpoch(0), end, 1800.0), start);
    EXPECT_EQ(FromFileTimes(std::nullopt, end, 1800.0), start) << "no birth kept";
    EXPECT_EQ(FromFileTimes(std::nullopt, end, std::nullopt), end) << "nor a length";

    QTemporaryDir dir;
    const QString named = dir.path() + "/06012026_080000.wav";
    ASSERT_TRUE(WriteAll(named, Wav(kMarkedInfo))); // re-tagged just now
    EXPECT_EQ(RecordDate::OfRecord(Native(named)), QDateTime(QDate(2026, 6, 1), QTime(8, 0)));
    EXPECT_FALSE(RecordDate::OfRecord(Native(dir.path() + "/gone.wav")).isValid());
    // Copies made now of records that ended 30 s after `start`: their length comes from
    // the PCM header and from the last Ogg page.
    for (const auto& [name, codec] :
         {std::pair{"Copy.wav", Codec::Pcm}, {"Copy.ogg", Codec::Speex}}) {
        const QString copy = ThirtySecondRecord(dir.path() + '/' + name, codec);
        SetModified(copy, start.addSecs(30));
        EXPECT_EQ(RecordDate::OfRecord(Native(copy)), start) << name;
    }
    // Two names that are not UTF-8 and look alike on screen: each file gives its own date.
    const QString wav = ThirtySecondRecord(dir.path() + "/Copy.wav", Codec::Pcm);
    for (const auto& [byte, ended] : {std::pair{'\xff', 30}, {'\xfe', 90}}) {
        const std::filesystem::path copy =
            Native(dir.path()) / (std::string("Copy") + byte + ".wav");
        std::filesystem::copy_file(Native(wav), copy);
        std::filesystem::last_write_time(
            copy, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(
                      start.addSecs(ended).toSecsSinceEpoch())));
        EXPECT_EQ(RecordDate::OfRecord(copy), start.addSecs(ended - 30)) << ended;
    }
    // Recorded here and renamed: however the file system keeps the times, the recording
    // started when the file was made. The kernel stamps files from its coarse clock, which
    // may lag the clock read here by a tick, so the lower bound allows for that.
    const QDateTime lagged = QDateTime::currentDateTime().addMSecs(-50);
    const QDateTime before = lagged.addMSecs(-(lagged.toMSecsSinceEpoch() % 1000));
    const QString renamed = ThirtySecondRecord(dir.path() + "/Meeting.wav", Codec::Pcm);
    const QDateTime after = QDateTime::currentDateTime();
    SetModified(renamed, after.addSecs(30));
    const QDateTime recorded = RecordDate::OfRecord(Native(renamed));
    EXPECT_GE(recorded, before);
    EXPECT_LE(recorded, after);
}

TEST(RecordOrder, SortsNamedRecordsChronologicallyThenOthersByName)
{
    QStringList names{"zeta.wav",
                      "01012027_000000.wav",
                      "12312026_235959.ogg",
                      "Alpha.wav",
                      "01012027_000000_2.ogg",
                      "alpha.wav",
                      "06152025_120000.wav",
                      "01012027_000000_10.wav"};
    RecordOrder::Sort(names);
    EXPECT_EQ(names, (QStringList{"06152025_120000.wav", "12312026_235959.ogg",
                                  "01012027_000000.wav", "01012027_000000_2.ogg",
                                  "01012027_000000_10.wav", "Alpha.wav", "alpha.wav", "zeta.wav"}));
    EXPECT_TRUE(RecordOrder::Less("12312026_235959.wav", "01012027_000000.wav"));
    EXPECT_FALSE(RecordOrder::Less("a.wav", "a.wav"));
}

} // namespace
