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

int CRawDataEncoder::Write(const std::uint8_t* data, std::size_t size, bool /*last*/)
{
    if (!m_file)
        return 0;
    return WriteAll(m_file.get(), data, size) && std::fflush(m_file.get()) == 0 ? 1 : 0;
}
