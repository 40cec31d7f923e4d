#pragma once

// Holds the PortAudio library initialised for the lifetime of the object (the library
// counts its initialisations, so several sessions may coexist). Before initialising it
// silences what the sound systems underneath print on stderr while they probe (ALSA's
// error handler, JACK's error and information functions): the user should see only the
// program's own messages, and a missing sound server is reported as "no device".
class CPortAudioSession
{
public:
    CPortAudioSession();
    ~CPortAudioSession();
    CPortAudioSession(const CPortAudioSession&) = delete;
    CPortAudioSession& operator=(const CPortAudioSession&) = delete;

    // 0 when the library is usable, otherwise PortAudio's error code.
    int Error() const { return m_error; }

private:
    int m_error;
};
