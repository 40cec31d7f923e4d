#include "audio/tagger.h"

#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"

#include <algorithm>

namespace {

// Closes a codec when the scope ends, however it ends.
template <typename Codec> struct CloseOnExit
{
    Codec& codec;
    ~CloseOnExit() { codec.Close(); }
};

} // namespace

void CTagger::WriteRecordInfo(const std::string& path, const char* info, std::size_t length)
{
    CCodecSwitch codec(m_manager, path);
    CBaseEncoder& encoder = m_manager.CurrentEncoder();
    const std::size_t kept = std::min(length, m_manager.InfoCapacity());
    encoder.SetInfo(std::string(info, kept));
    try {
        encoder.Open(path, true);
    } catch (...) {
        encoder.SetInfo({});
        throw;
    }
    encoder.Close();
}

std::string CTagger::ReadRecordInfo(const std::string& path)
{
    CCodecSwitch codec(m_manager, path);
    CBaseDecoder& decoder = m_manager.CurrentDecoder();
    decoder.Open(path, m_manager);
    CloseOnExit<CBaseDecoder> closer{decoder};
    return decoder.GetInfo();
}
