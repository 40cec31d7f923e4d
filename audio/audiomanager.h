#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CBaseDecoder;
class CBaseEncoder;
class CPlayer;
class CRecorder;
class CTagger;
class MWaveBackend;

// Codec indexes: they select the encoder for new recordings and the decoder for reading.
namespace Codec {
inline constexpr std::uint32_t Pcm = 0;
inline constexpr std::uint32_t Speex = 1;
inline constexpr std::uint32_t Raw = 2;
inline constexpr std::uint32_t Count = 3;
} // namespace Codec

// One row of the recording formats the user chooses from ("Format" setting 0..5).
struct SRecordingFormat
{
    std::string_view label;
    std::uint32_t codec;
    std::uint32_t quality;
};

inline constexpr std::array<SRecordingFormat, 6> kRecordingFormats{{
    {"PCM/WAV (460Kb / min)", Codec::Pcm, 0},
    {"Speex/Ogg, Q1 (23Kb / min)", Codec::Speex, 1},
    {"Speex/Ogg, Q2 (47Kb / min)", Codec::Speex, 2},
    {"Speex/Ogg, Q3 (62Kb / min)", Codec::Speex, 3},
    {"Speex/Ogg, Q4 (90Kb / min)", Codec::Speex, 4},
    {"Speex/Ogg, Q5 (115Kb / min)", Codec::Speex, 5},
}};

// The single entry point of the audio engine: the fixed sample format, the recording
// format (codec and quality of new recordings), and the owned recorder, player and tagger.
//
// Every operation on a file gets codec objects of its own (OpenDecoder, CreateEncoder), so
// a playback, a measurement, a listing and a retagging may run at the same time on
// different threads. The recording format is read when a recording opens its file.
class CAudioManager
{
public:
    // The one sample rate of every device and record.
    static constexpr std::uint32_t kSampleRate = 8000;

    // On the backend the environment selects (CreateWaveBackend).
    CAudioManager();
    // On `backend`; null: as above.
    explicit CAudioManager(std::unique_ptr<MWaveBackend> backend);
    virtual ~CAudioManager();
    CAudioManager(const CAudioManager&) = delete;
    CAudioManager& operator=(const CAudioManager&) = delete;

    // The codec of new recordings; an index outside 0..2 is ignored.
    void SetCodec(std::uint32_t index);
    void SetQuality(std::uint32_t quality) { m_quality = quality; }
    // Applies a "Format" value 0..5; any other value changes nothing.
    void ApplyFormat(int format);

    // Nominal bytes per second of a codec and quality; 0 for an unknown combination.
    static std::uint32_t GetBytesPerSecond(std::uint32_t codec, std::uint32_t quality);
    // 0 (RIFF + ".wav") or 1 ("OggS" + ".ogg"), extension compared case-insensitively.
    // Throws CAudioError: "GetSuitableCodec(): Cannot open the input file" or
    // "GetSuitableCodec(): Cannot find a suitable codec for the given file".
    std::uint32_t GetSuitableCodec(const std::string& path) const;
    // The same for a file reached by another name (an open file's "/proc/self/fd/N"): the
    // signature is read at `path`, the extension is `name`'s.
    std::uint32_t GetSuitableCodec(const std::string& path, const std::string& name) const;

    // A new, closed encoder or decoder of a codec index (0..2); nullptr for another index.
    std::unique_ptr<CBaseEncoder> CreateEncoder(std::uint32_t codec) const;
    // A new, closed encoder of a "Format" row 0..5 with that row's quality, whatever the
    // recording format is now (a conversion never changes what the next recording uses);
    // nullptr for another value.
    std::unique_ptr<CBaseEncoder> CreateEncoderOfFormat(int format) const;
    std::unique_ptr<CBaseDecoder> CreateDecoder(std::uint32_t codec) const;
    // The decoder of the file's own format, open on the file. Throws CAudioError
    // (GetSuitableCodec's or the decoder's message).
    std::unique_ptr<CBaseDecoder> OpenDecoder(const std::string& path) const;
    // A decoder of `codec`, open on the file. Throws as above.
    std::unique_ptr<CBaseDecoder> OpenDecoder(const std::string& path, std::uint32_t codec) const;

    // Whole seconds of a record, at least 1. Throws as OpenDecoder.
    std::uint32_t GetRecordLength(const std::string& path) const;
    // Total samples of a record (GetRecordLength before the division).
    std::uint32_t GetRecordSamples(const std::string& path) const;

    CPlayer& GetPlayer() { return *m_player; }
    CRecorder& GetRecorder() { return *m_recorder; }
    CTagger& GetTagger() { return *m_tagger; }
    MWaveBackend& GetWaveBackend() { return *m_backend; }

    std::uint32_t SampleRate() const { return m_sampleRate; }
    std::uint32_t BitsPerSample() const { return m_bitsPerSample; }
    std::uint32_t Channels() const { return m_channels; }
    std::uint32_t BytesPerSecondOfDevice() const
    {
        return m_bitsPerSample / 8 * m_channels * m_sampleRate;
    }
    std::uint32_t CodecIndex() const { return m_codecIndex; }
    std::uint32_t Quality() const { return m_quality; }
    std::size_t InfoCapacity() const { return m_infoCapacity; }

private:
    const std::uint32_t m_sampleRate = kSampleRate;
    const std::uint32_t m_bitsPerSample = 8;
    const std::uint32_t m_channels = 1;
    // Set on the controlling thread, read by whichever thread opens a codec.
    std::atomic<std::uint32_t> m_codecIndex{Codec::Pcm};
    std::atomic<std::uint32_t> m_quality{0};
    const std::size_t m_infoCapacity = 1024;
    std::unique_ptr<MWaveBackend> m_backend;
    std::unique_ptr<CPlayer> m_player;
    std::unique_ptr<CRecorder> m_recorder;
    std::unique_ptr<CTagger> m_tagger;
};
