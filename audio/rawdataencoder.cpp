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

bool CRawDataEncoder::Write(std::span<const std::uint8_t> samples, bool /*last*/)
{
    return m_file && WriteAll(m_file.get(), samples.data(), samples.size()) &&
           std::fflush(m_file.get()) == 0;
}
