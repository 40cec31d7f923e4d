#include "audio/player.h"
#include "audio/recorder.h"
#include "audiotestsupport.h"
#include "support/scopedenv.h"

#include <cmath>
#include <numbers>
#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

// Under the leak checker: the sound-system plugins that ALSA loads while PortAudio probes
// allocate in their library constructors and are unloaded without freeing it. Only a full
// stack (the slower unwinder) reaches the ALSA loader that the suppression names.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:snd_dlopen\n";
}

namespace {

// Power of one frequency in the samples (Goertzel), per sample.
double PowerAt(const Bytes& samples, double hz)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / 8000.0);
    double s1 = 0, s2 = 0;
    for (std::uint8_t sample : samples) {
        const double s = (sample - 128.0) + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return power / static_cast<double>(samples.size() * samples.size());
}

// Plays a 1 kHz tone to the sound server's default sink while recording its default source.
// The test script provides a server whose default source is the monitor of a null sink;
// elsewhere the test skips when PortAudio offers no usable device.
TEST(PortAudioLoopback, ARecordingOfThePlaybackHoldsTheTone)
{
    const CScopedEnv portAudio("PARLANTOGRAPHER_AUDIO", "portaudio");
    CAudioManager manager;

    CCollectingEncoder encoder(manager);
    CRecorder recorder(manager, &encoder);
    CPlayer& player = manager.GetPlayer();
    try {
        recorder.CheckDevices();
        player.CheckDevices();
    } catch (const CAudioError& e) {
        GTEST_SKIP() << "no usable PortAudio device: " << e.what();
    }

    CTempFolder dir;
    Bytes tone(12000); // a quarter of full scale
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<std::uint8_t>(
            std::lround(128.0 + 32.0 * std::sin(2 * std::numbers::pi * 1000.0 * i / 8000.0)));
    WriteFile(dir.File("tone.wav"), WavFile(tone));
    recorder.Record(dir.File("memo.wav"));
    player.Play(dir.File("tone.wav"));
    ASSERT_TRUE(player.WaitUntilStopped(10s));
    player.StopPlaying();
    std::this_thread::sleep_for(300ms);
    // The server may take the whole tone at once and play it out only afterwards, so the
    // player can be done before the recording holds much: it goes on until it has handed its
    // first second over.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (recorder.CapturedSamples() < 8000 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    recorder.StopRecording();

    // A recording that started late under load (or under the thread sanitizer) still holds
    // most of the 1.5 s played; the tone's power below is what tells the loop works.
    ASSERT_GT(encoder.samples.size(), 4000u);
    EXPECT_TRUE(encoder.writes.back().last);
    const double power = PowerAt(encoder.samples, 1000.0);
    const double elsewhere = PowerAt(encoder.samples, 2300.0);
    // The tone over the whole recording would give 32 * 32 / 4 = 256; it covers most of it.
    EXPECT_GT(power, 256 * 0.1);
    EXPECT_GT(power, 50 * elsewhere) << "tone " << power << ", elsewhere " << elsewhere;
}

} // namespace
