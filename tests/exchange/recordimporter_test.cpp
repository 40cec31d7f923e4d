#include "audio/basedecoder.h"
#include "audio/tagger.h"
#include "exchange/recordimporter.h"
#include "exchangetestsupport.h"
#include "store/recordcatalogue.h"
#include "store/recordinfo.h"

#include <QFile>

namespace {

using EStatus = CRecordImporter::EStatus;

const QDateTime kModified(QDate(2023, 5, 6), QTime(7, 8, 9));

class RecordImporterTest : public CExchangeTest
{
protected:
    // Gives a file the modification time of kModified.
    void Date(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(kModified, QFileDevice::FileModificationTime));
    }

    CRecordImporter::SResult Import(const QString& source, int format = 0)
    {
        return m_importer.Import(source, Path("Data"), format);
    }

    std::vector<std::uint8_t> Samples(const QString& path)
    {
        std::vector<std::uint8_t> samples(m_audio.GetRecordSamples(path.toStdString()));
        m_audio.OpenDecoder(path.toStdString())->Read(samples);
        return samples;
    }

    CRecordImporter m_importer{m_audio};
};

// Files in a record format keep their audio: records are copied byte for byte and named by
// the moment they hold; a plain 8 kHz WAV gets the record header around the same samples; a
// second import of the same file never replaces the first.
TEST_F(RecordImporterTest, RecordFormatFilesKeepTheirAudio)
{
    const QString renamed = MakeRecord(QStringLiteral("in/Call Ann.wav"), 0, kMarkedInfo);
    const QString stamped = MakeRecord(QStringLiteral("in/01022024_030405.ogg"), 2, kMarkedInfo);
    ASSERT_TRUE(WriteAll(Path("in/plain.wav"), Wav(std::nullopt, 12345)));
    Date(renamed);
    Date(stamped);
    Date(Path("in/plain.wav"));

    const auto first = Import(renamed);
    ASSERT_TRUE(first.Ok()) << first.message.toStdString();
    EXPECT_EQ(first.path, Path("Data/05062023_070809.wav"));
    EXPECT_EQ(ReadAll(first.path), ReadAll(renamed));
    EXPECT_EQ(QFileInfo(first.path).lastModified(), kModified);
    EXPECT_EQ(Import(stamped).path, Path("Data/01022024_030405.ogg"));
    EXPECT_EQ(ReadAll(Path("Data/01022024_030405.ogg")), ReadAll(stamped));

    const auto plain = Import(Path("in/plain.wav"), 3);
    ASSERT_TRUE(plain.Ok()) << plain.message.toStdString();
    EXPECT_EQ(plain.path, Path("Data/05062023_070809_2.wav"))
        << "the format stays, the name is free";
    EXPECT_EQ(Samples(plain.path), Samples(Path("in/plain.wav")));
    EXPECT_EQ(Import(renamed).path, Path("Data/05062023_070809_3.wav"));
    EXPECT_EQ(ReadAll(first.path), ReadAll(renamed));

    const RecordList listed = BuildRecordList({Path("Data/")}, m_audio.GetTagger());
    EXPECT_EQ(listed.size(), 4u) << "every import is a record the lists show";
    EXPECT_EQ(Listing("Data").size(), 4);
}

// Audio in any other shape is mixed to one channel, resampled to 8 kHz and written in the chosen
// format at that format's quality, keeping its length; so is a Speex stream without information.
TEST_F(RecordImporterTest, OtherAudioIsMixedResampledAndKeepsItsLength)
{
    // 2.5 s at 44.1 kHz, 16-bit stereo: the left channel at half scale, the right one silent.
    testsupport::Bytes frames;
    for (int i = 0; i < 110250; ++i)
        frames.insert(frames.end(), {0x00, 0x40, 0x00, 0x00});
    const testsupport::Bytes wav =
        testsupport::WavFile(frames, {.channels = 2, .rate = 44100, .bits = 16});
    ASSERT_TRUE(
        WriteAll(Path("in/stereo.wav"), QByteArray(reinterpret_cast<const char*>(wav.data()),
                                                   static_cast<qsizetype>(wav.size()))));

    const auto pcm = Import(Path("in/stereo.wav"), 0);
    ASSERT_TRUE(pcm.Ok()) << pcm.message.toStdString();
    const std::vector<std::uint8_t> samples = Samples(pcm.path);
    ASSERT_EQ(samples.size(), 20000u);
    // A quarter of full scale once mixed: 128 + 32, away from the converter's edges.
    EXPECT_EQ(samples[10000], 160);
    EXPECT_EQ(samples[19000], 160);
    EXPECT_TRUE(RecordInfo::HasMarker(
        QByteArray::fromStdString(m_audio.GetTagger().ReadRecordInfo(pcm.path.toStdString()))));

    m_audio.ApplyFormat(0);
    const auto low = Import(Path("in/stereo.wav"), 1);
    const auto high = Import(Path("in/stereo.wav"), 5);
    ASSERT_TRUE(low.Ok() && high.Ok()) << low.message.toStdString() << high.message.toStdString();
    EXPECT_TRUE(low.path.endsWith(QStringLiteral(".ogg")));
    EXPECT_GT(QFileInfo(high.path).size(), QFileInfo(low.path).size() * 2)
        << "the chosen quality, not the recording format, sets the bit rate";

    const QString foreignSpeex = MakeRecord(QStringLiteral("in/speex.ogg"), 2, QByteArray());
    const auto speex = Import(foreignSpeex, 0);
    ASSERT_TRUE(speex.Ok()) << speex.message.toStdString();
    EXPECT_TRUE(speex.path.endsWith(QStringLiteral(".wav")));
    EXPECT_EQ(BuildRecordList({Path("Data/")}, m_audio.GetTagger()).size(), 4u);
}

// What cannot be read, and a cancelled conversion, leave the data folder without a trace.
TEST_F(RecordImporterTest, UnreadableAndCancelledImportsLeaveNothingBehind)
{
    ASSERT_TRUE(WriteAll(Path("in/notes.wav"), "RIFF, but only words"));
    ASSERT_TRUE(QDir().mkpath(Path("in/folder.wav")));
    for (const QString& source : {Path("in/notes.wav"), Path("in/folder.wav"), Path("in/none")}) {
        const auto result = Import(source);
        EXPECT_EQ(result.status, EStatus::Unreadable) << source.toStdString();
        EXPECT_TRUE(result.message.contains(source)) << result.message.toStdString();
    }
    const QString foreignSpeex = MakeRecord(QStringLiteral("in/speex.ogg"), 2, QByteArray());
    const auto cancelled =
        m_importer.Import(foreignSpeex, Path("Data"), 0,
                          [](std::uint64_t done, std::uint64_t) { return done < 8000; });
    EXPECT_EQ(cancelled.status, EStatus::Cancelled);
    EXPECT_EQ(Listing("Data"), QStringList());
}

} // namespace
