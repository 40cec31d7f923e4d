#include "audio/rawdatadecoder.h"

#include "audio/audioerror.h"

#include <cerrno>
#include <cstdio>

CRawDataDecoder::CRawDataDecoder() = default;

CRawDataDecoder::~CRawDataDecoder() = default;

void CRawDataDecoder::Open(const std::string& path, const CAudioManager& /*manager*/)
{
    m_info.clear();
    m_file = OpenFile(path, "rb");
    if (!m_file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "PcmDecoder: Cannot open the input file",
                          path, error);
    }
}

void CRawDataDecoder::Close()
{
    m_info.clear();
    m_file.reset();
}

SDecoded CRawDataDecoder::Read(std::span<std::uint8_t> buffer)
{
    if (!m_file)
        return {0, true};
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), m_file.get());
    if (got < buffer.size())
        return {got, true};
    // A file that ends exactly here reports it now rather than with an empty read later.
    const int next = std::fgetc(m_file.get());
    if (next == EOF)
        return {got, true};
    std::ungetc(next, m_file.get());
    return {got, false};
}

std::uint32_t CRawDataDecoder::GetLength()
{
    return 0;
}
