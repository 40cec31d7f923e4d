#include "audio/pcmdecoder.h"
#include "audio/speexdecoder.h"
#include "audio/tagger.h"
#include "codectestsupport.h"

using namespace CodecTest;

namespace {

class TaggerTest : public CTempDirTest
{
protected:
    // A record as the recorder makes it, in the given "Format" (0 PCM, 1..5 Speex).
    std::string MakeRecord(const std::string& name, int format, const Bytes& samples,
                           const std::string& info = {})
    {
        const std::uint32_t remembered = m_manager.CodecIndex();
        m_manager.ApplyFormat(format);
        Record(m_manager.CurrentEncoder(), Path(name), samples, info);
        m_manager.SetCodec(remembered);
        return Path(name);
    }

    Bytes Decode(const std::string& path)
    {
        CCodecSwitch codec(m_manager, path);
        CBaseDecoder& decoder = m_manager.CurrentDecoder();
        decoder.Open(path, m_manager);
        Bytes all = DecodeAll(decoder);
        decoder.Close();
        return all;
    }

    CAudioManager m_manager;
    CTagger& m_tagger = m_manager.GetTagger();
};

} // namespace

TEST_F(TaggerTest, WavRewriteKeepsEveryAudioByteAndRestoresTheLengths)
{
    const std::string path = MakeRecord("r.wav", 0, SpeechLike(80000), std::string(1024, 'o'));
    const Bytes before = ReadAll(path);
    m_tagger.WriteRecordInfo(path, "0123456789", 10);
    const Bytes after = ReadAll(path);

    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin() + 1062, before.end(), after.begin() + 1062));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 38, after.begin()));
    EXPECT_EQ(Le32(after, 4), 81062u);
    EXPECT_EQ(Le32(after, 1066), 80000u);
    EXPECT_EQ(m_tagger.ReadRecordInfo(path), std::string("0123456789") + std::string(1014, '\0'));
}

TEST_F(TaggerTest, RewriteOfAnUnclosedWavRecordRepairsItsLengths)
{
    const std::string path = MakeRecord("r.wav", 0, Bytes(16000, 0x80));
    Bytes f = ReadAll(path);
    std::fill_n(f.begin() + 4, 4, 0xFF);
    f[7] = 0x7F;
    std::copy_n(f.begin() + 4, 4, f.begin() + 1066);
    WriteAllBytes(path, f);
    m_tagger.WriteRecordInfo(path, "x", 1);
    f = ReadAll(path);
    EXPECT_EQ(Le32(f, 4), 17062u);
    EXPECT_EQ(Le32(f, 1066), 16000u);
}

TEST_F(TaggerTest, OggRewriteKeepsLengthAudioPagesGranuleAndDecodedSamples)
{
    const std::string path = MakeRecord("r.ogg", 2, SpeechLike(24000), "old");
    const Bytes before = ReadAll(path);
    const Bytes decodedBefore = Decode(path);
    const std::uint32_t samplesBefore = m_manager.GetRecordSamples(path);

    m_tagger.WriteRecordInfo(path, "new information", 15);
    const Bytes after = ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    const std::size_t audio = Pages(before).at(2).offset;
    EXPECT_TRUE(std::equal(before.begin() + static_cast<long>(audio), before.end(),
                           after.begin() + static_cast<long>(audio)));
    EXPECT_EQ(Packets(after).size(), Packets(before).size()) << "every checksum still holds";
    EXPECT_EQ(m_tagger.ReadRecordInfo(path),
              std::string("new information") + std::string(1009, '\0'));
    EXPECT_EQ(Decode(path), decodedBefore);
    EXPECT_EQ(m_manager.GetRecordSamples(path), samplesBefore);
}

TEST_F(TaggerTest, LongInformationIsCutTo1024Bytes)
{
    std::string text(1500, 'a');
    text[1023] = 'z';
    for (int format : {0, 1}) {
        const std::string path = MakeRecord(format ? "r.ogg" : "r.wav", format, Bytes(8000, 0x80));
        const auto size = ReadAll(path).size();
        m_tagger.WriteRecordInfo(path, text.data(), text.size());
        EXPECT_EQ(m_tagger.ReadRecordInfo(path), text.substr(0, 1024));
        EXPECT_EQ(ReadAll(path).size(), size);
    }
}

// Files the encoder did not write have headers of another size: rewriting them would
// overwrite audio, so they are refused and left as they were.
TEST_F(TaggerTest, RewriteRefusesForeignHeadersAndKeepsTheFile)
{
    const std::string path = MakeRecord("r.ogg", 1, SpeechLike(4000));
    Bytes f = ReadAll(path);
    const auto pages = Pages(f);
    // Same stream, but a comment page one byte shorter than ours.
    auto packets = Packets(f);
    Bytes comment = packets[1].data;
    comment.pop_back();
    std::vector<SPacketPlan> plans{{packets[0].data}, {comment}};
    Bytes foreign = MakeOgg(plans);
    foreign.insert(foreign.end(), f.begin() + static_cast<long>(pages[2].offset), f.end());
    WriteAllBytes(path, foreign);
    EXPECT_AUDIO_ERROR(m_tagger.WriteRecordInfo(path, "x", 1),
                       "SpeexEncoder: Cannot rewrite a header of another size");
    EXPECT_EQ(ReadAll(path), foreign);
}

// Whatever the operation and however it ends, the user's recording format is kept.
TEST_F(TaggerTest, CodecSelectionIsRestoredAfterEveryOperation)
{
    const std::string wav = MakeRecord("r.wav", 0, Bytes(8000, 0x80), "w");
    const std::string ogg = MakeRecord("r.ogg", 3, Bytes(8000, 0x80), "o");
    const std::string broken = Path("broken.ogg");
    WriteAllBytes(broken, {'O', 'g', 'g', 'S', 0, 0});
    const std::string missing = Path("missing.wav");

    for (std::uint32_t selected : {Codec::Pcm, Codec::Speex, Codec::Raw}) {
        for (const std::string& path : {wav, ogg, broken, missing}) {
            SCOPED_TRACE(std::to_string(selected) + " " + path);
            const bool fails = path == broken || path == missing;
            m_manager.SetCodec(selected);
            if (fails) {
                EXPECT_THROW(m_tagger.ReadRecordInfo(path), CAudioError);
                EXPECT_THROW(m_tagger.WriteRecordInfo(path, "x", 1), CAudioError);
                EXPECT_THROW(m_manager.GetRecordLength(path), CAudioError);
            } else {
                EXPECT_FALSE(m_tagger.ReadRecordInfo(path).empty());
                m_tagger.WriteRecordInfo(path, "x", 1);
                EXPECT_EQ(m_manager.GetRecordLength(path), 1u);
            }
            EXPECT_EQ(m_manager.CodecIndex(), selected);
        }
    }
}

TEST_F(TaggerTest, SuitableCodecFollowsSignatureAndExtension)
{
    const Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0};
    const Bytes ogg = {'O', 'g', 'g', 'S', 0, 0, 0, 0};
    const char* noCodec = "GetSuitableCodec(): Cannot find a suitable codec for the given file";
    struct Case
    {
        const char* name;
        Bytes content;
        std::optional<std::uint32_t> codec;
    };
    const Case cases[] = {
        {"MEMO.WAV", riff, Codec::Pcm},         {"memo.wav", riff, Codec::Pcm},
        {"memo.Ogg", ogg, Codec::Speex},        {"memowav", riff, Codec::Pcm},
        {"memo.wave", riff, std::nullopt},      {"memo.ogg", riff, std::nullopt},
        {"memo.wav", ogg, std::nullopt},        {"memo.raw", riff, std::nullopt},
        {"memo.wav", {'R', 'I'}, std::nullopt}, {"memo.wav", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAllBytes(Path(c.name), c.content);
        if (c.codec)
            EXPECT_EQ(m_manager.GetSuitableCodec(Path(c.name)), *c.codec);
        else
            EXPECT_AUDIO_ERROR(m_manager.GetSuitableCodec(Path(c.name)), noCodec);
        std::filesystem::remove(Path(c.name));
    }
    EXPECT_AUDIO_ERROR(m_manager.GetSuitableCodec(Path("gone.wav")),
                       "GetSuitableCodec(): Cannot open the input file");
}

TEST_F(TaggerTest, RecordLengthIsWholeSecondsAndAtLeastOne)
{
    EXPECT_EQ(m_manager.GetRecordLength(MakeRecord("empty.wav", 0, {})), 1u);
    EXPECT_EQ(m_manager.GetRecordLength(MakeRecord("half.wav", 0, Bytes(4000, 0x80))), 1u);
    EXPECT_EQ(m_manager.GetRecordLength(MakeRecord("ten.wav", 0, Bytes(80000, 0x80))), 10u);
    EXPECT_EQ(m_manager.GetRecordLength(MakeRecord("two.wav", 0, Bytes(23999, 0x80))), 2u);
    EXPECT_EQ(m_manager.GetRecordLength(MakeRecord("three.ogg", 4, Bytes(24000 + 2000, 0x80))), 3u);
    EXPECT_EQ(m_manager.GetRecordLength(MakeRecord("short.ogg", 5, Bytes(100, 0x80))), 1u);
}
