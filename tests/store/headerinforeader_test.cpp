#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "audio/tagger.h"
#include "platform/wavebackend.h"
#include "store/headerinforeader.h"
#include "store/recordinfo.h"
#include "store/recordreader.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using EVerdict = CHeaderInfoReader::EVerdict;

// The quick reader must answer exactly as the tagger does wherever it answers at all, and the
// length it finds the audio from must be the decoder's.
class HeaderInfoReaderTest : public testing::Test
{
protected:
    QByteArray EngineRecord(std::uint32_t codec, const QByteArray& info, int seconds = 1)
    {
        const std::string path = (m_dir.path() + (codec ? "/e.ogg" : "/e.wav")).toStdString();
        m_manager.SetCodec(codec);
        m_manager.SetQuality(3);
        const auto encoder = m_manager.CreateEncoder(codec);
        encoder->SetInfo(info.toStdString());
        encoder->Open(path, false);
        const std::vector<std::uint8_t> second(8000, 0x90);
        for (int s = 0; s < seconds; ++s)
            encoder->Write(second, s + 1 == seconds);
        encoder->Close();
        return ReadAll(QString::fromStdString(path));
    }

    // The quick reader's verdict, after checking it against the tagger on the same file.
    EVerdict CheckAgainstTagger(const QString& name, const QByteArray& bytes)
    {
        const std::string path = (m_dir.path() + "/case/" + name).toStdString();
        EXPECT_TRUE(WriteAll(QString::fromStdString(path), bytes));
        const CHeaderInfoReader::SResult quick = CHeaderInfoReader::Read(path);
        std::optional<std::string> taggerInfo;
        try {
            taggerInfo = m_manager.GetTagger().ReadRecordInfo(path);
        } catch (const CAudioError&) {
        }
        if (quick.verdict == EVerdict::Information) {
            EXPECT_EQ(std::optional(quick.info), taggerInfo) << name.toStdString();
            // The one pass reads the same header, whatever its length, and measures from it
            // what the decoder measures.
            if (const auto entry = RecordReader::Read(path, RecordReader::EDetail::Full, nullptr)) {
                EXPECT_EQ(entry->info.toStdString(), quick.info.substr(0, quick.info.find('\0')));
                EXPECT_EQ(entry->samples, m_manager.GetRecordSamples(path)) << name.toStdString();
            } else {
                EXPECT_FALSE(RecordInfo::HasMarker(QByteArray::fromStdString(quick.info)))
                    << name.toStdString();
            }
        } else if (quick.verdict == EVerdict::NotARecord) {
            EXPECT_FALSE(taggerInfo) << name.toStdString();
        }
        QFile::remove(QString::fromStdString(path));
        return quick.verdict;
    }

    QTemporaryDir m_dir;
    CAudioManager m_manager;
};

// A peer's record whose information area is wider than the engine's: its header runs past
// the bytes an engine record needs.
QByteArray WideAreaWav()
{
    testsupport::Bytes area = testsupport::LeBytes(1400, 2);
    area.insert(area.end(), kMarkedInfo.begin(), kMarkedInfo.end());
    area.resize(2 + 1400, 0);
    const testsupport::Bytes wav =
        testsupport::WavFile(testsupport::Bytes(800, 0x80), {.extension = area});
    return QByteArray(reinterpret_cast<const char*>(wav.data()),
                      static_cast<qsizetype>(wav.size()));
}

TEST_F(HeaderInfoReaderTest, DecidesEngineRecordsOfBothFormatsLikeTheTagger)
{
    for (const auto& [name, bytes, verdict] :
         std::initializer_list<std::tuple<const char*, QByteArray, EVerdict>>{
             {"r.wav", EngineRecord(Codec::Pcm, kMarkedInfo, 2), EVerdict::Information},
             {"r.ogg", EngineRecord(Codec::Speex, kMarkedInfo, 2), EVerdict::Information},
             {"R.OGG", EngineRecord(Codec::Speex, ""), EVerdict::Information},
             {"bytes.wav", Wav(kMarkedInfo), EVerdict::Information},
             {"crashed.wav", Wav(kMarkedInfo, 100, false), EVerdict::Information},
             {"foreign.wav", Wav(std::nullopt), EVerdict::Information},
             {"wide.wav", WideAreaWav(), EVerdict::Information},
             {"riff.ogg", Wav(kMarkedInfo), EVerdict::NotARecord},
             {"text.wav", "hello", EVerdict::NotARecord},
             {"short.wav", "RIF", EVerdict::NotARecord},
             {"noext", Wav(kMarkedInfo), EVerdict::NotARecord}})
        EXPECT_EQ(CheckAgainstTagger(name, bytes), verdict) << name;
}

TEST_F(HeaderInfoReaderTest, AgreesWithTheTaggerOnTruncatedAndDamagedHeaders)
{
    for (const auto& [codec, name] :
         {std::pair{Codec::Pcm, "t.wav"}, std::pair{Codec::Speex, "t.ogg"}}) {
        const QByteArray record = EngineRecord(codec, kMarkedInfo);
        for (qsizetype length = 0; length < std::min<qsizetype>(record.size(), 2600); length += 3)
            CheckAgainstTagger(name, record.left(length));
        std::uint32_t seed = 99;
        for (int round = 0; round < 150; ++round) {
            QByteArray damaged = record;
            seed = seed * 1664525u + 1013904223u;
            const qsizetype at = (seed >> 8) % std::min<qsizetype>(record.size(), 1300);
            damaged[at] = static_cast<char>(damaged[at] ^ (1 + (seed >> 28)));
            CheckAgainstTagger(name, damaged);
        }
    }
}

} // namespace
