#include "platform/simwavebackend.h"
#include "platform/wavedevice.h"
#include "platform/wavenoticesink.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class CIgnoreNotices : public MWaveNoticeSink
{
public:
    bool PostWaveNotice(EWaveNotice, SWaveBuffer*) override { return true; }
};

class CEnvironment
{
public:
    CEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value, 1);
    }
    ~CEnvironment()
    {
        if (m_old.empty())
            unsetenv(m_name);
        else
            setenv(m_name, m_old.c_str(), 1);
    }

private:
    const char* m_name;
    std::string m_old;
};

TEST(SimWaveBackend, OffersOneSimulatedDeviceEachWayForTheEngineFormatOnly)
{
    CSimWaveBackend backend({});
    EXPECT_EQ(backend.InputDeviceNames(), std::vector<std::string>{"Simulated"});
    EXPECT_EQ(backend.OutputDeviceNames(), std::vector<std::string>{"Simulated"});
    EXPECT_EQ(backend.QueryFormat(EWaveDirection::Input, 0, MakeWaveFormat(8000, 8, 1)), 0);
    for (const SWaveFormat& other :
         {MakeWaveFormat(8000, 16, 1), MakeWaveFormat(8000, 8, 2), MakeWaveFormat(11025, 8, 1)}) {
        const int error = backend.QueryFormat(EWaveDirection::Output, 0, other);
        EXPECT_NE(error, 0);
        std::string text;
        EXPECT_TRUE(backend.ErrorText(error, text));
        EXPECT_EQ(text, "Simulated device: only 8000 Hz 8-bit mono PCM is supported");
    }
    std::string text;
    EXPECT_FALSE(backend.ErrorText(12345, text));
}

TEST(SimWaveBackend, AnUnreadableInputFileFailsTheOpenWithAClearText)
{
    CSimWaveBackend backend({"/nonexistent/input.wav", "", false});
    CIgnoreNotices sink;
    std::unique_ptr<MWaveDevice> device;
    const int error =
        backend.Open(EWaveDirection::Input, 0, MakeWaveFormat(8000, 8, 1), sink, device);
    ASSERT_NE(error, 0);
    EXPECT_EQ(device, nullptr);
    std::string text;
    ASSERT_TRUE(backend.ErrorText(error, text));
    EXPECT_NE(text.find("PARLANTOGRAPHER_SIM_INPUT"), std::string::npos);
}

TEST(WaveBackendChoice, TheEnvironmentPicksTheBackendAndBadValuesAreNamed)
{
    {
        CEnvironment audio("PARLANTOGRAPHER_AUDIO", "sim");
        CEnvironment speed("PARLANTOGRAPHER_SIM_SPEED", "fast");
        auto backend = CreateWaveBackend();
        EXPECT_NE(dynamic_cast<CSimWaveBackend*>(backend.get()), nullptr);
    }
    {
        CEnvironment audio("PARLANTOGRAPHER_AUDIO", "sim");
        CEnvironment speed("PARLANTOGRAPHER_SIM_SPEED", "slow");
        try {
            CreateWaveBackend();
            FAIL() << "a bad speed was accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(
                e.what(),
                "PARLANTOGRAPHER_SIM_SPEED must be \"realtime\" or \"fast\", not \"slow\"");
        }
    }
    {
        CEnvironment audio("PARLANTOGRAPHER_AUDIO", "oss");
        EXPECT_THROW(CreateWaveBackend(), std::invalid_argument);
    }
}

} // namespace
