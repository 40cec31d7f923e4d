#include "platform/simwavebackend.h"
#include "platform/wavedevice.h"
#include "platform/wavenoticesink.h"
#include "support/scopedenv.h"

#include <gmock/gmock.h>
#include <stdexcept>

namespace {

class CIgnoreNotices : public MWaveNoticeSink
{
public:
    bool PostWaveNotice(EWaveNotice, SWaveBuffer*) override { return true; }
};

TEST(SimWaveBackend, OffersOneSimulatedDeviceEachWayForTheEngineFormatOnly)
{
    CSimWaveBackend backend({});
    const std::vector<SWaveDeviceInfo> one{{"Simulated", "Simulated", true}};
    EXPECT_EQ(backend.Devices(EWaveDirection::Input), one);
    EXPECT_EQ(backend.Devices(EWaveDirection::Output), one);
    EXPECT_EQ(backend.QueryFormat(EWaveDirection::Input, "", MakeWaveFormat(8000, 8, 1)), 0);
    EXPECT_EQ(backend.QueryFormat(EWaveDirection::Input, "Simulated", MakeWaveFormat(8000, 8, 1)),
              0);
    EXPECT_NE(backend.QueryFormat(EWaveDirection::Input, "hw:9", MakeWaveFormat(8000, 8, 1)), 0);
    std::string text;
    for (const SWaveFormat& other :
         {MakeWaveFormat(8000, 16, 1), MakeWaveFormat(8000, 8, 2), MakeWaveFormat(11025, 8, 1)}) {
        EXPECT_TRUE(
            backend.ErrorText(backend.QueryFormat(EWaveDirection::Output, "", other), text));
        EXPECT_EQ(text, "Simulated device: only 8000 Hz 8-bit mono PCM is supported");
    }
    EXPECT_FALSE(backend.ErrorText(12345, text));

    // An unreadable input file fails the open with a text that names the setting.
    CSimWaveBackend unreadable({"/nonexistent/input.wav", "", false});
    CIgnoreNotices sink;
    std::unique_ptr<MWaveDevice> device;
    const int error =
        unreadable.Open(EWaveDirection::Input, "", MakeWaveFormat(8000, 8, 1), sink, device);
    EXPECT_EQ(device, nullptr);
    ASSERT_TRUE(unreadable.ErrorText(error, text));
    EXPECT_THAT(text, ::testing::HasSubstr("PARLANTOGRAPHER_SIM_INPUT"));
}

TEST(WaveBackendChoice, TheEnvironmentPicksTheBackendAndBadValuesAreNamed)
{
    const testsupport::CScopedEnv audio("PARLANTOGRAPHER_AUDIO", "sim");
    const testsupport::CScopedEnv speed("PARLANTOGRAPHER_SIM_SPEED", "fast");
    EXPECT_NE(dynamic_cast<CSimWaveBackend*>(CreateWaveBackend().get()), nullptr);
    speed.Set("slow");
    EXPECT_THAT([] { CreateWaveBackend(); },
                ::testing::ThrowsMessage<std::invalid_argument>(::testing::StrEq(
                    "PARLANTOGRAPHER_SIM_SPEED must be \"realtime\" or \"fast\", not \"slow\"")));
    speed.Set("fast");
    audio.Set("oss");
    EXPECT_THAT([] { CreateWaveBackend(); },
                ::testing::ThrowsMessage<std::invalid_argument>(
                    ::testing::AllOf(::testing::HasSubstr("PARLANTOGRAPHER_AUDIO"),
                                     ::testing::HasSubstr("\"pulse\", \"portaudio\" or \"sim\""))));
}

} // namespace
