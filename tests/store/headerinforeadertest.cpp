#include "store/headerinforeader.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "recordfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recordfiles;

namespace {

// The quick reader must answer exactly as the tagger does wherever it answers at all.
class HeaderInfoReaderTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QByteArray EngineRecord(std::uint32_t codec, const QByteArray& info, int seconds = 2)
    {
        const std::string path =
            (m_dir.path() + "/engine." + (codec ? "ogg" : "wav")).toStdString();
        m_manager.SetCodec(codec);
        m_manager.SetQuality(3);
        CBaseEncoder& encoder = m_manager.CurrentEncoder();
        encoder.SetInfo(info.toStdString());
        encoder.Open(path, false);
        const std::vector<std::uint8_t> second(8000, 0x90);
        for (int s = 0; s < seconds; ++s)
            encoder.Write(second.data(), second.size(), s + 1 == seconds);
        encoder.Close();
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    // Returns the verdict after checking it against the tagger on the same file.
    CHeaderInfoReader::EVerdict CheckAgainstTagger(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.path() + "/case/" + name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        const CHeaderInfoReader::SResult quick = CHeaderInfoReader::Read(path.toStdString());
        std::string taggerInfo;
        bool taggerThrew = false;
        try {
            taggerInfo = m_manager.GetTagger().ReadRecordInfo(path.toStdString());
        } catch (const CAudioError&) {
            taggerThrew = true;
        }
        switch (quick.verdict) {
        case CHeaderInfoReader::EVerdict::Information:
            EXPECT_FALSE(taggerThrew) << name.toStdString();
            EXPECT_EQ(quick.info, taggerInfo) << name.toStdString();
            break;
        case CHeaderInfoReader::EVerdict::NotARecord:
            EXPECT_TRUE(taggerThrew) << name.toStdString();
            break;
        case CHeaderInfoReader::EVerdict::Undecided:
            break;
        }
        QFile::remove(path);
        return quick.verdict;
    }

    QTemporaryDir m_dir;
    CAudioManager m_manager;
};

TEST_F(HeaderInfoReaderTest, DecidesEngineRecordsOfBothFormatsLikeTheTagger)
{
    using EVerdict = CHeaderInfoReader::EVerdict;
    EXPECT_EQ(CheckAgainstTagger("r.wav", EngineRecord(Codec::Pcm, kMarkedInfo)),
              EVerdict::Information);
    EXPECT_EQ(CheckAgainstTagger("r.ogg", EngineRecord(Codec::Speex, kMarkedInfo)),
              EVerdict::Information);
    EXPECT_EQ(CheckAgainstTagger("R.OGG", EngineRecord(Codec::Speex, "")), EVerdict::Information);
    EXPECT_EQ(CheckAgainstTagger("bytes.wav", PcmRecord(kMarkedInfo)), EVerdict::Information);
    EXPECT_EQ(CheckAgainstTagger("crashed.wav", PcmRecord(kMarkedInfo, 100, false)),
              EVerdict::Information);
    EXPECT_EQ(CheckAgainstTagger("foreign.wav", ForeignWav()), EVerdict::Information);
    EXPECT_EQ(CheckAgainstTagger("riff.ogg", PcmRecord(kMarkedInfo)), EVerdict::NotARecord);
    EXPECT_EQ(CheckAgainstTagger("text.wav", "hello"), EVerdict::NotARecord);
    EXPECT_EQ(CheckAgainstTagger("short.wav", "RIF"), EVerdict::NotARecord);
    EXPECT_EQ(CheckAgainstTagger("noext", PcmRecord(kMarkedInfo)), EVerdict::NotARecord);
}

TEST_F(HeaderInfoReaderTest, AgreesWithTheTaggerOnEveryTruncation)
{
    for (const auto& [codec, name] :
         {std::pair{Codec::Pcm, "t.wav"}, std::pair{Codec::Speex, "t.ogg"}}) {
        const QByteArray record = EngineRecord(codec, kMarkedInfo, 1);
        for (qsizetype length = 0; length < std::min<qsizetype>(record.size(), 2600); length += 3)
            CheckAgainstTagger(name, record.left(length));
    }
}

TEST_F(HeaderInfoReaderTest, AgreesWithTheTaggerOnDamagedHeaders)
{
    for (const auto& [codec, name] :
         {std::pair{Codec::Pcm, "d.wav"}, std::pair{Codec::Speex, "d.ogg"}}) {
        const QByteArray record = EngineRecord(codec, kMarkedInfo, 1);
        std::uint32_t seed = 99;
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = record;
            seed = seed * 1664525u + 1013904223u;
            const qsizetype at = (seed >> 8) % std::min<qsizetype>(record.size(), 1300);
            damaged[at] = static_cast<char>(damaged[at] ^ (1 + (seed >> 28)));
            CheckAgainstTagger(name, damaged);
        }
    }
}

} // namespace
