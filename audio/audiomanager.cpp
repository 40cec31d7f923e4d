#include "audio/audiomanager.h"

#include "audio/audioerror.h"
#include "audio/pcmdecoder.h"
#include "audio/pcmencoder.h"
#include "audio/player.h"
#include "audio/rawdatadecoder.h"
#include "audio/rawdataencoder.h"
#include "audio/recorder.h"
#include "audio/recordlength.h"
#include "audio/speexdecoder.h"
#include "audio/speexencoder.h"
#include "audio/tagger.h"
#include "platform/filehandle.h"
#include "platform/wavebackend.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

std::string LowerLastThree(const std::string& path)
{
    std::string tail = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail;
}

} // namespace

CAudioManager::CAudioManager() : CAudioManager(nullptr) {}

CAudioManager::CAudioManager(std::unique_ptr<MWaveBackend> backend)
    : m_backend(backend ? std::move(backend) : CreateWaveBackend())
{
    m_player = std::make_unique<CPlayer>(*this);
    m_recorder = std::make_unique<CRecorder>(*this);
    m_tagger = std::make_unique<CTagger>(*this);
}

// The devices go first: their threads may still reach the manager.
CAudioManager::~CAudioManager()
{
    m_player.reset();
    m_recorder.reset();
}

void CAudioManager::SetCodec(std::uint32_t index)
{
    if (index < Codec::Count)
        m_codecIndex = index;
}

void CAudioManager::ApplyFormat(int format)
{
    if (format < 0 || format >= static_cast<int>(kRecordingFormats.size()))
        return;
    const auto& row = kRecordingFormats[static_cast<std::size_t>(format)];
    SetCodec(row.codec);
    SetQuality(row.quality);
}

std::uint32_t CAudioManager::GetBytesPerSecond(std::uint32_t codec, std::uint32_t quality)
{
    std::uint32_t kilobytesPerMinute = 0;
    if (codec == Codec::Pcm) {
        kilobytesPerMinute = 460;
    } else if (codec == Codec::Speex) {
        static constexpr std::uint32_t kSpeex[] = {23, 47, 62, 90, 115};
        if (quality >= 1 && quality <= 5)
            kilobytesPerMinute = kSpeex[quality - 1];
    } else if (codec == Codec::Raw) {
        kilobytesPerMinute = 450;
    }
    return kilobytesPerMinute * 1024 / 60;
}

// Read-only: a record the user may not write can still be measured and played.
std::uint32_t CAudioManager::GetSuitableCodec(const std::string& path) const
{
    return GetSuitableCodec(path, path);
}

std::uint32_t CAudioManager::GetSuitableCodec(const std::string& path,
                                              const std::string& name) const
{
    const FilePtr file = OpenFile(path, "rb");
    if (!file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile,
                          "GetSuitableCodec(): Cannot open the input file", path, error);
    }
    char signature[4] = {};
    const bool haveSignature = std::fread(signature, 1, 4, file.get()) == 4;
    const std::string extension = LowerLastThree(name);
    if (haveSignature && std::memcmp(signature, "OggS", 4) == 0 &&
        (extension == "ogg" || extension == "spx"))
        return Codec::Speex;
    if (haveSignature && std::memcmp(signature, "RIFF", 4) == 0 && extension == "wav")
        return Codec::Pcm;
    throw CAudioError(EAudioErrc::NoSuitableCodec,
                      "GetSuitableCodec(): Cannot find a suitable codec for the given file", path);
}

std::unique_ptr<CBaseEncoder> CAudioManager::CreateEncoder(std::uint32_t codec) const
{
    switch (codec) {
    case Codec::Pcm:
        return std::make_unique<CPcmEncoder>(*this);
    case Codec::Speex:
        return std::make_unique<CSpeexEncoder>(*this);
    case Codec::Raw:
        return std::make_unique<CRawDataEncoder>(*this);
    default:
        return nullptr;
    }
}

std::unique_ptr<CBaseEncoder> CAudioManager::CreateEncoderOfFormat(int format) const
{
    if (format < 0 || format >= static_cast<int>(kRecordingFormats.size()))
        return nullptr;
    const auto& row = kRecordingFormats[static_cast<std::size_t>(format)];
    if (row.codec == Codec::Speex)
        return std::make_unique<CSpeexEncoder>(*this, row.quality);
    return CreateEncoder(row.codec);
}

std::unique_ptr<CBaseDecoder> CAudioManager::CreateDecoder(std::uint32_t codec) const
{
    switch (codec) {
    case Codec::Pcm:
        return std::make_unique<CPcmDecoder>();
    case Codec::Speex:
        return std::make_unique<CSpeexDecoder>();
    case Codec::Raw:
        return std::make_unique<CRawDataDecoder>();
    default:
        return nullptr;
    }
}

std::unique_ptr<CBaseDecoder> CAudioManager::OpenDecoder(const std::string& path) const
{
    return OpenDecoder(path, GetSuitableCodec(path));
}

std::unique_ptr<CBaseDecoder> CAudioManager::OpenDecoder(const std::string& path,
                                                         std::uint32_t codec) const
{
    std::unique_ptr<CBaseDecoder> decoder = CreateDecoder(codec);
    decoder->Open(path, *this);
    return decoder;
}

std::uint32_t CAudioManager::GetRecordSamples(const std::string& path) const
{
    return OpenDecoder(path)->GetLength();
}

std::uint32_t CAudioManager::GetRecordLength(const std::string& path) const
{
    return RecordLength::Seconds(GetRecordSamples(path), m_sampleRate);
}
