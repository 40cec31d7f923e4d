#include "audio/tagger.h"
#include "audiotestsupport.h"

using namespace testsupport;

namespace {

class TaggerTest : public CAudioTest
{
protected:
    // A record as the recorder makes it, in the given "Format" (0 PCM, 1..5 Speex).
    std::string MakeRecord(const std::string& name, int format, const Bytes& samples,
                           const std::string& info = {})
    {
        m_manager.ApplyFormat(format);
        Record(*m_manager.CreateEncoder(m_manager.CodecIndex()), Path(name), samples, info);
        return Path(name);
    }

    Bytes Decode(const std::string& path) { return DecodeAll(*m_manager.OpenDecoder(path)); }

    CTagger& m_tagger = m_manager.GetTagger();
};

// A new information (long ones cut to the area, short ones padded with zeros) changes nothing
// else: not the file's length, a length field, a checksum or an audio byte. The lengths of a
// record never closed are repaired on the way.
TEST_F(TaggerTest, RewriteKeepsLengthAndEveryAudioByte)
{
    std::string longText(1500, 'a');
    longText[1023] = 'z';
    for (int format : {0, 2}) {
        SCOPED_TRACE(format);
        const std::string path =
            MakeRecord(format ? "r.ogg" : "r.wav", format, SpeechLike(24000), "old");
        const Bytes before = ReadFile(path);
        const Bytes decodedBefore = Decode(path);
        const std::uint32_t samplesBefore = m_manager.GetRecordSamples(path);
        // Before the area: the length and format fields, or the Speex header page. After it:
        // "data" with its length, or the audio pages.
        const std::size_t head = format ? ReadOgg(before).pages.at(1).offset : 38;
        const std::size_t tail = format ? ReadOgg(before).pages.at(2).offset : 1062;
        if (format == 0) {
            WriteFile(path, Cat({Slice(before, 0, 4), LeBytes(0x7FFFFFFF), Slice(before, 8, 1066),
                                 LeBytes(0x7FFFFFFF), Slice(before, 1070, before.size())}));
        }

        m_tagger.WriteRecordInfo(path, longText.data(), longText.size());
        EXPECT_EQ(m_tagger.ReadRecordInfo(path), longText.substr(0, 1024));
        m_tagger.WriteRecordInfo(path, "new information", 15);
        EXPECT_EQ(m_tagger.ReadRecordInfo(path), "new information" + std::string(1009, '\0'));
        const Bytes after = ReadFile(path);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(Slice(after, 0, head), Slice(before, 0, head));
        EXPECT_EQ(Slice(after, tail, after.size()), Slice(before, tail, before.size()));
        EXPECT_EQ(ReadOgg(after).packets.size(), ReadOgg(before).packets.size())
            << "every checksum still holds";
        EXPECT_EQ(Decode(path), decodedBefore);
        EXPECT_EQ(m_manager.GetRecordSamples(path), samplesBefore);
    }
}

// Headers another program wrote have another size: rewriting them would overwrite audio, so
// they are refused and the file is left as it was.
TEST_F(TaggerTest, RewriteRefusesForeignHeadersAndKeepsTheFile)
{
    const Bytes ogg = ReadFile(MakeRecord("r.ogg", 1, SpeechLike(4000)));
    const auto packets = ReadOgg(ogg).packets;
    const Bytes shorterComment = Slice(packets[1].data, 0, packets[1].data.size() - 1);
    const std::tuple<const char*, const char*, Bytes> cases[] = {
        {"f.wav", "PcmEncoder: Cannot rewrite a header of another size", WavFile(Bytes(4000, 9))},
        {"f.ogg", "SpeexEncoder: Cannot rewrite a header of another size",
         Cat({MakeOgg({{packets[0].data}, {shorterComment}}),
              Slice(ogg, ReadOgg(ogg).pages[2].offset, ogg.size())})}};
    for (const auto& [name, message, file] : cases) {
        WriteFile(Path(name), file);
        EXPECT_AUDIO_ERROR(m_tagger.WriteRecordInfo(Path(name), "x", 1), message);
        EXPECT_EQ(ReadFile(Path(name)), file);
    }
}

TEST_F(TaggerTest, SuitableCodecFollowsSignatureAndExtension)
{
    const Bytes riff = Cat({Str("RIFF"), Bytes(4, 0)}), ogg = Cat({Str("OggS"), Bytes(4, 0)});
    const std::tuple<const char*, Bytes, std::optional<std::uint32_t>> cases[] = {
        {"MEMO.WAV", riff, Codec::Pcm},        {"memo.wav", riff, Codec::Pcm},
        {"memo.Ogg", ogg, Codec::Speex},       {"memowav", riff, Codec::Pcm},
        {"memo.wave", riff, std::nullopt},     {"memo.ogg", riff, std::nullopt},
        {"memo.wav", ogg, std::nullopt},       {"memo.raw", riff, std::nullopt},
        {"memo.wav", Str("RI"), std::nullopt}, {"memo.wav", {}, std::nullopt},
    };
    for (const auto& [name, content, codec] : cases) {
        SCOPED_TRACE(name);
        WriteFile(Path(name), content);
        if (codec)
            EXPECT_EQ(m_manager.GetSuitableCodec(Path(name)), *codec);
        else
            EXPECT_AUDIO_ERRC(m_manager.GetSuitableCodec(Path(name)), EAudioErrc::NoSuitableCodec);
        std::filesystem::remove(Path(name));
    }
    EXPECT_AUDIO_ERRC(m_manager.GetSuitableCodec(Path("gone.wav")), EAudioErrc::CannotOpenFile);
}

// Rounded to the nearest second: a Speex memo of two seconds holds a little less than that.
TEST_F(TaggerTest, RecordLengthIsRoundedSecondsAndAtLeastOne)
{
    const std::tuple<int, std::size_t, std::uint32_t> cases[] = {
        {0, 0, 1},      {0, 3999, 1},  {0, 11999, 1}, {0, 12000, 2},
        {0, 80000, 10}, {1, 16000, 2}, {4, 26000, 3}, {5, 100, 1}};
    for (auto [format, samples, seconds] : cases) {
        const std::string path =
            MakeRecord(format ? "r.ogg" : "r.wav", format, Bytes(samples, 0x80));
        EXPECT_EQ(m_manager.GetRecordLength(path), seconds) << format << " " << samples;
    }
}

// Chunks after the samples (an editor's LIST) stay out of the audio: only an unclosed record
// takes its length from the file's size. A record made with another library version keeps
// its vendor string, so the header keeps its size and the rewrite is allowed.
TEST_F(TaggerTest, RewriteKeepsTrailingChunksAndTheFilesVendor)
{
    const std::string wav = MakeRecord("r.wav", 0, Pattern(8000), "old");
    WriteFile(wav, Cat({ReadFile(wav), Str("LIST"), LeBytes(12), Str("INFOISFT"), LeBytes(0)}));
    m_tagger.WriteRecordInfo(wav, "new", 3);
    EXPECT_EQ(m_manager.GetRecordSamples(wav), 8000u);
    EXPECT_EQ(Decode(wav), Pattern(8000));

    const std::string ogg = MakeRecord("r.ogg", 3, SpeechLike(8000), "old");
    const Bytes before = ReadFile(ogg);
    const SOgg parsed = ReadOgg(before);
    Bytes comment = parsed.packets[1].data;
    const std::string vendor = "Encoded with an older release";
    comment = Cat({LeBytes(static_cast<std::uint32_t>(vendor.size())), Str(vendor),
                   Slice(comment, 4 + Le(comment, 0), comment.size())});
    Bytes file = Cat(
        {MakeOgg({{parsed.packets[0].data}, {comment}}, static_cast<int>(parsed.pages[0].serial)),
         Slice(before, parsed.pages[2].offset, before.size())});
    WriteFile(ogg, file);
    m_tagger.WriteRecordInfo(ogg, "new", 3);
    EXPECT_EQ(m_tagger.ReadRecordInfo(ogg).substr(0, 4), std::string("new\0", 4));
    const Bytes after = ReadFile(ogg);
    EXPECT_EQ(after.size(), file.size());
    EXPECT_NE(Text(after, 0, after.size()).find(vendor), std::string::npos);
}

} // namespace
