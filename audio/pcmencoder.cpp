#include "audio/pcmencoder.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/wavheader.h"

#include <algorithm>
#include <cerrno>
#include <vector>

CPcmEncoder::CPcmEncoder(const CAudioManager& manager) : CBaseEncoder(manager) {}

CPcmEncoder::~CPcmEncoder()
{
    Close();
}

void CPcmEncoder::Open(const std::string& path, bool existing)
{
    CloseFile();
    m_keptDataLength.reset();
    FilePtr file = OpenFile(path, existing ? "rb+" : "wb+");
    if (!file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "PcmEncoder: Cannot open the output file",
                          path, error);
    }
    m_file = std::move(file);
    try {
        if (existing)
            CheckOldHeader(path);
        const WavHeader::SFormat format{m_manager.SampleRate(),
                                        static_cast<std::uint16_t>(m_manager.BitsPerSample()),
                                        static_cast<std::uint16_t>(m_manager.Channels())};
        const auto header = WavHeader::Build(m_info, m_manager.InfoCapacity(), format);
        if (std::fseek(m_file.get(), 0, SEEK_SET) != 0 ||
            !WriteAll(m_file.get(), header.data(), header.size()) ||
            std::fflush(m_file.get()) != 0) {
            const int error = errno;
            throw CAudioError(EAudioErrc::CannotWriteHeader,
                              "PcmEncoder: Cannot write the .wav header", path, error);
        }
        if (!existing)
            StartSyncing(m_file.get(), path);
    } catch (...) {
        m_file.reset();
        throw;
    }
}

// Writing our header over a shorter or longer one would overwrite samples or leave stale
// header bytes in the audio.
void CPcmEncoder::CheckOldHeader(const std::string& path)
{
    const std::size_t capacity = m_manager.InfoCapacity();
    std::vector<std::uint8_t> old(WavHeader::HeaderSize(capacity));
    const std::size_t got = std::fread(old.data(), 1, old.size(), m_file.get());
    if (!WavHeader::HasRecordLayout(old.data(), got, capacity))
        throw CAudioError(EAudioErrc::HeaderOfAnotherSize,
                          "PcmEncoder: Cannot rewrite a header of another size", path);
    // Only an unclosed record (the unknown length, or one larger than the file) takes its
    // length from the file's size when it is closed again.
    const std::uint32_t stored =
        WavHeader::GetLe32(old.data() + WavHeader::DataLengthOffset(capacity));
    const std::int64_t room =
        FileSize(m_file.get()) - static_cast<std::int64_t>(WavHeader::HeaderSize(capacity));
    if (stored != WavHeader::kUnknownLength && stored <= room)
        m_keptDataLength = stored;
}

void CPcmEncoder::Close()
{
    m_info.clear();
    CloseFile();
}

void CPcmEncoder::CloseFile()
{
    if (!m_file)
        return;
    std::FILE* f = m_file.get();
    const std::size_t capacity = m_manager.InfoCapacity();
    const std::int64_t length = FileSize(f);
    if (length >= static_cast<std::int64_t>(WavHeader::HeaderSize(capacity))) {
        const auto clamp = [](std::int64_t v) {
            return static_cast<std::uint32_t>(std::min<std::int64_t>(v, 0xFFFFFFFF));
        };
        std::uint8_t field[4];
        WavHeader::PutLe32(field, clamp(length - 8));
        std::fseek(f, 4, SEEK_SET);
        WriteAll(f, field, 4);
        WavHeader::PutLe32(field, m_keptDataLength
                                      ? *m_keptDataLength
                                      : clamp(length - static_cast<std::int64_t>(
                                                           WavHeader::HeaderSize(capacity))));
        std::fseek(f, static_cast<long>(WavHeader::DataLengthOffset(capacity)), SEEK_SET);
        WriteAll(f, field, 4);
    }
    // A failure here leaves the unknown-length marks, which readers take from the file size.
    StopSyncing(f);
    m_file.reset();
    m_keptDataLength.reset();
}

bool CPcmEncoder::Write(std::span<const std::uint8_t> samples, bool /*last*/)
{
    return m_file && WriteAll(m_file.get(), samples.data(), samples.size()) &&
           std::fflush(m_file.get()) == 0 && NoteWritten();
}
