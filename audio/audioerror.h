#pragma once

#include <stdexcept>
#include <string>

// The one exception type of the audio engine. Its text is the user-facing message
// exactly as the engine documents it ("Recorder: There are no input audio devices").
class CAudioError : public std::runtime_error
{
public:
    explicit CAudioError(const std::string& message) : std::runtime_error(message) {}
};
