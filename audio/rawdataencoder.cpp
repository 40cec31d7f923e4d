#include "audio/rawdataencoder.h"

#include "audio/audioerror.h"

#include <cerrno>

CRawDataEncoder::CRawDataEncoder(const CAudioManager& manager) : CBaseEncoder(manager) {}

CRawDataEncoder::~CRawDataEncoder()
{
    Close();
}

void CRawDataEncoder::Open(const std::string& path, bool /*existing*/)
{
    Close(); // a file still open stops being synced before it is closed
    m_file = OpenFile(path, "wb+");
    if (!m_file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "PcmEncoder: Cannot open the output file",
                          path, error);
    }
    try {
        StartSyncing(m_file.get(), path);
    } catch (...) {
        m_file.reset();
        throw;
    }
}

void CRawDataEncoder::Close()
{
    if (m_file)
        StopSyncing(m_file.get());
    m_file.reset();
}

bool CRawDataEncoder::Write(std::span<const std::uint8_t> samples, bool /*last*/)
{
    return m_file && WriteAll(m_file.get(), samples.data(), samples.size()) &&
           std::fflush(m_file.get()) == 0 && NoteWritten();
}
