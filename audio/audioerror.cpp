#include "audio/audioerror.h"

CAudioError::CAudioError(EAudioErrc code, const std::string& message)
    : std::runtime_error(message), m_code(code)
{}

// std::generic_category gives strerror's text without strerror's shared buffer: files are
// opened on more than one thread.
CAudioError::CAudioError(EAudioErrc code, const std::string& message, const std::string& path,
                         int systemError)
    : std::runtime_error(message), m_code(code), m_path(path),
      m_systemMessage(systemError != 0 ? std::generic_category().message(systemError)
                                       : std::string())
{}
