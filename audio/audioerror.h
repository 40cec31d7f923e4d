#pragma once

#include "audio/audioerrc.h"

#include <stdexcept>
#include <string>
#include <system_error>

// The one exception type of the audio engine. Its text is the user-facing message
// exactly as the engine documents it ("Recorder: There are no input audio devices");
// code() says which condition it is, for callers that act on it.
class CAudioError : public std::runtime_error
{
public:
    CAudioError(EAudioErrc code, const std::string& message);
    // An error about one file. `systemError` is the errno of the call that failed, read
    // right after it; 0 when no system call failed (a damaged header).
    CAudioError(EAudioErrc code, const std::string& message, const std::string& path,
                int systemError = 0);

    std::error_code code() const noexcept { return m_code; }
    // The file concerned; empty when the error is not about a file.
    const std::string& Path() const noexcept { return m_path; }
    // The system's words for the failed call ("No such file or directory"); empty when
    // none failed.
    const std::string& SystemMessage() const noexcept { return m_systemMessage; }

private:
    std::error_code m_code;
    std::string m_path;
    std::string m_systemMessage;
};
