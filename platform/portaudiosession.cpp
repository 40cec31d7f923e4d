#include "platform/portaudiosession.h"

#include <dlfcn.h>
#include <initializer_list>
#include <portaudio.h>

#ifdef PARLANTOGRAPHER_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace {

#ifdef PARLANTOGRAPHER_HAVE_ALSA
void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

void IgnoreJackMessage(const char*) {}

void SilenceSoundSystems()
{
#ifdef PARLANTOGRAPHER_HAVE_ALSA
    snd_lib_error_set_handler(&IgnoreAlsaMessage);
#endif
    // JACK is reached only through PortAudio, which may or may not have been built with
    // it: look the setters up in whatever is loaded instead of linking against JACK.
    using SetMessageFunction = void (*)(void (*)(const char*));
    for (const char* name : {"jack_set_error_function", "jack_set_info_function"}) {
        if (void* symbol = dlsym(RTLD_DEFAULT, name))
            reinterpret_cast<SetMessageFunction>(symbol)(&IgnoreJackMessage);
    }
}

} // namespace

CPortAudioSession::CPortAudioSession()
{
    SilenceSoundSystems();
    m_error = Pa_Initialize();
}

CPortAudioSession::~CPortAudioSession()
{
    if (m_error == paNoError)
        Pa_Terminate();
}
