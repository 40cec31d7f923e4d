#include "audio/audioerrc.h"

#include <string>

namespace {

class CAudioErrorCategory final : public std::error_category
{
public:
    const char* name() const noexcept override { return "parlantographer.audio"; }

    std::string message(int value) const override
    {
        switch (static_cast<EAudioErrc>(value)) {
        case EAudioErrc::NoInputDevice:
            return "no input audio device";
        case EAudioErrc::NoOutputDevice:
            return "no output audio device";
        case EAudioErrc::DeviceError:
            return "audio device error";
        case EAudioErrc::ThreadCreation:
            return "cannot create the device thread";
        case EAudioErrc::ThreadMessage:
            return "cannot post a message to the device thread";
        case EAudioErrc::PlaybackFromEndHandler:
            return "playback started from the end-of-playback handler";
        case EAudioErrc::AlreadyRecording:
            return "a recording is already running";
        case EAudioErrc::CannotOpenFile:
            return "cannot open the file";
        case EAudioErrc::CannotReadHeader:
            return "cannot read the header";
        case EAudioErrc::CannotWriteHeader:
            return "cannot write the header";
        case EAudioErrc::HeaderOfAnotherSize:
            return "the old header is of another size";
        case EAudioErrc::UnsupportedFormat:
            return "unsupported audio format";
        case EAudioErrc::NoSuitableCodec:
            return "no suitable codec";
        case EAudioErrc::OggStream:
            return "cannot initialize the Ogg stream";
        }
        return "unknown audio error";
    }
};

} // namespace

const std::error_category& AudioErrorCategory() noexcept
{
    static const CAudioErrorCategory category;
    return category;
}

std::error_code make_error_code(EAudioErrc code) noexcept
{
    return {static_cast<int>(code), AudioErrorCategory()};
}
