#include "audio/rawdataencoder.h"

#include "audio/audioerror.h"

#include <cerrno>

CRawDataEncoder::CRawDataEncoder(const CAudioManager& manager) : CBaseEncoder(manager) {}

CRawDataEncoder::~CRawDataEncoder() = default;

void CRawDataEncoder::Open(const std::string& path, bool /*existing*/)
{
    m_file = OpenFile(path, "wb+");
    if (!m_file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "PcmEncoder: Cannot open the output file",
                          path, error);
    }
}

void CRawDataEncoder::Close()
{
    m_file.reset();
}

int CRawDataEncoder::Write(const std::uint8_t* data, std::size_t size, bool /*last*/)
{
    if (!m_file)
        return 0;
    return WriteAll(m_file.get(), data, size) && std::fflush(m_file.get()) == 0 ? 1 : 0;
}
