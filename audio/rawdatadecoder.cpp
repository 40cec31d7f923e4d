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

bool CRawDataDecoder::Read(std::uint8_t* buffer, std::size_t& size)
{
    if (!m_file) {
        size = 0;
        return true;
    }
    const std::size_t wanted = size;
    size = std::fread(buffer, 1, wanted, m_file.get());
    if (size < wanted)
        return true;
    // A file that ends exactly here reports it now rather than with an empty read later.
    const int next = std::fgetc(m_file.get());
    if (next == EOF)
        return true;
    std::ungetc(next, m_file.get());
    return false;
}

std::uint32_t CRawDataDecoder::GetLength()
{
    return 0;
}
