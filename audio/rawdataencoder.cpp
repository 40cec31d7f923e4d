#include "audio/rawdataencoder.h"

#include "audio/audioerror.h"

CRawDataEncoder::CRawDataEncoder(const CAudioManager& manager) : CBaseEncoder(manager) {}

CRawDataEncoder::~CRawDataEncoder() = default;

void CRawDataEncoder::Open(const std::string& path, bool /*existing*/)
{
    m_file = OpenFile(path, "wb+");
    if (!m_file)
        throw CAudioError("PcmEncoder: Cannot open the output file");
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
