#pragma once

#include <system_error>
#include <type_traits>

// What went wrong in the engine, apart from the words shown to the user: callers and
// tests compare `error.code() == EAudioErrc::CannotOpenFile` rather than message texts.
// Zero is left free, as std::error_code takes it for "no error".
enum class EAudioErrc
{
    NoInputDevice = 1,      // no capture device at all
    NoOutputDevice,         // no playback device at all
    DeviceError,            // the wave backend refused an operation
    ThreadCreation,         // the device thread could not be started
    ThreadMessage,          // a message could not be posted to the device thread
    PlaybackFromEndHandler, // a playback was started from its own end-of-playback handler
    AlreadyRecording,       // a recording was asked for while one runs
    CannotOpenFile,         // a record could not be opened
    CannotReadHeader,       // a record's header is missing or damaged
    CannotWriteHeader,      // a record's header could not be written
    HeaderOfAnotherSize,    // a header rewrite would not fit the old header exactly
    UnsupportedFormat,      // a well-formed record in a format the engine does not play
    NoSuitableCodec,        // neither signature nor extension names a known codec
    OggStream,              // the Ogg stream or the Speex encoder could not be set up
};

// The category "parlantographer.audio"; its messages are short English descriptions, not
// the user-facing texts (those are the errors' what()).
const std::error_category& AudioErrorCategory() noexcept;

std::error_code make_error_code(EAudioErrc code) noexcept;

template <> struct std::is_error_code_enum<EAudioErrc> : std::true_type
{
};
