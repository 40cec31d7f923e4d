#include "audio/pcmdecoder.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/recordlength.h"
#include "audio/wavheader.h"

#include <algorithm>
#include <cerrno>
#include <vector>

CPcmDecoder::CPcmDecoder() = default;

CPcmDecoder::~CPcmDecoder() = default;

void CPcmDecoder::Open(const std::string& path, const CAudioManager& manager)
{
    Close();
    FilePtr file = OpenFile(path, "rb");
    if (!file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "PcmDecoder: Cannot open the input file",
                          path, error);
    }
    const std::int64_t fileSize = FileSize(file.get());
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize, 0, WavHeader::kLongestHeader)));
    const std::size_t got = std::fread(head.data(), 1, head.size(), file.get());
    if (WavHeader::HasOtherFormat(head.data(), got))
        throw CAudioError(EAudioErrc::UnsupportedFormat,
                          "PcmDecoder: Only 8 kHz, 8-bit mono PCM .wav files can be read", path);
    const auto layout = WavHeader::Parse(head.data(), got, manager.InfoCapacity());
    if (!layout || std::fseek(file.get(), static_cast<long>(layout->dataStart), SEEK_SET) != 0)
        throw CAudioError(EAudioErrc::CannotReadHeader, "PcmDecoder: Cannot read the .wav header",
                          path);
    m_total =
        RecordLength::Samples({RecordLength::ECodec::Pcm, layout->dataStart, layout->dataLength, 0},
                              -1, static_cast<std::uint64_t>(fileSize))
            .value_or(0);
    m_left = m_total;
    m_info = layout->info;
    m_file = std::move(file);
}

void CPcmDecoder::Close()
{
    m_info.clear();
    m_file.reset();
    m_left = m_total = 0;
}

SDecoded CPcmDecoder::Read(std::span<std::uint8_t> buffer)
{
    if (!m_file)
        return {0, true};
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), m_left));
    const std::size_t got = std::fread(buffer.data(), 1, wanted, m_file.get());
    m_left -= got;
    // A short read means the file shrank under us: that is its end too.
    return {got, m_left == 0 || got < wanted};
}

std::uint32_t CPcmDecoder::GetLength()
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(m_total, 0xFFFFFFFF));
}
