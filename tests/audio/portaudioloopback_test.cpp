#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/player.h"
#include "audio/recorder.h"
#include "audiotestsupport.h"
#include "platform/wavebackend.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

// Under the leak checker: the sound-system plugins that ALSA loads while PortAudio probes
// allocate in their library constructors and are unloaded without freeing it. That memory
// is theirs, not ours. Only a full stack (the slower unwinder, for this test program)
// reaches the ALSA loader that the suppression names.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:snd_dlopen\n";
}

namespace {

constexpr double kToneHz = 1000.0;

// A sine tone at a quarter of full scale, unsigned 8-bit around 0x80.
class CToneDecoder : public CBaseDecoder
{
public:
    explicit CToneDecoder(std::size_t total) : m_total(total) {}
    void Open(const std::string&, CAudioManager&) override { m_position = 0; }
    void Close() override {}
    bool Read(std::uint8_t* buffer, std::size_t& size) override
    {
        size = std::min(size, m_total - m_position);
        for (std::size_t i = 0; i < size; ++i) {
            const double t = static_cast<double>(m_position + i) / 8000.0;
            buffer[i] = static_cast<std::uint8_t>(
                std::lround(128.0 + 32.0 * std::sin(2 * std::numbers::pi * kToneHz * t)));
        }
        m_position += size;
        return m_position == m_total;
    }
    std::uint32_t GetLength() override { return static_cast<std::uint32_t>(m_total); }

private:
    std::size_t m_total;
    std::size_t m_position = 0;
};

// Power of one frequency in the samples (Goertzel), per sample.
double PowerAt(const std::vector<std::uint8_t>& samples, double hz)
{
    const double w = 2 * std::numbers::pi * hz / 8000.0;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::uint8_t sample : samples) {
        const double s = (sample - 128.0) + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return power / static_cast<double>(samples.size() * samples.size());
}

// Plays a tone to the sound server's default sink while recording its default source.
// The test script provides a server whose default source is the monitor of a null
// sink; elsewhere the test skips when PortAudio offers no usable device.
TEST(PortAudioLoopback, ARecordingOfThePlaybackHoldsTheTone)
{
    std::string previous;
    if (const char* value = std::getenv("PARLANTOGRAPHER_AUDIO"))
        previous = value;
    setenv("PARLANTOGRAPHER_AUDIO", "portaudio", 1);
    CAudioManager manager;
    setenv("PARLANTOGRAPHER_AUDIO", previous.c_str(), 1);

    CCollectingEncoder encoder(manager);
    CToneDecoder decoder(12000);
    CRecorder recorder(manager, &encoder);
    CPlayer player(manager, &decoder);
    try {
        recorder.CheckDevices();
        player.CheckDevices();
    } catch (const CAudioError& e) {
        GTEST_SKIP() << "no usable PortAudio device: " << e.what();
    }

    CTempDir dir;
    const std::string record = dir.File("tone.wav");
    WriteWav(record, {});
    recorder.Record(dir.File("memo.wav"));
    player.Play(record);
    ASSERT_TRUE(player.WaitUntilStopped(10s));
    player.StopPlaying();
    std::this_thread::sleep_for(300ms);
    recorder.StopRecording();

    ASSERT_GT(encoder.samples.size(), 8000u);
    EXPECT_TRUE(encoder.writes.back().last);
    const double tone = PowerAt(encoder.samples, kToneHz);
    const double elsewhere = PowerAt(encoder.samples, 2300.0);
    // A sine of amplitude 32 over the whole recording would give 32 * 32 / 4 = 256; the
    // tone covers most of it, silence the rest.
    EXPECT_GT(tone, 256 * 0.1) << "tone power " << tone;
    EXPECT_GT(tone, 50 * elsewhere) << "tone " << tone << ", elsewhere " << elsewhere;
}

} // namespace
