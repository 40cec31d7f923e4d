#include "cli/clicontext.h"

#include "audio/audiomanager.h"
#include "cli/clistore.h"
#include "platform/wavebackend.h"

CCliContext::CCliContext(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

CCliContext::~CCliContext() = default;

CAudioManager& CCliContext::Audio()
{
    if (!m_audio)
        m_audio = std::make_unique<CAudioManager>();
    return *m_audio;
}

CCliStore& CCliContext::Store()
{
    if (!m_store)
        m_store = std::make_unique<CCliStore>();
    return *m_store;
}
