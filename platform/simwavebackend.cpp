#include "platform/simwavebackend.h"

#include "platform/simwavedevice.h"
#include "platform/wavenoticesink.h"

#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::unique_ptr<CSimWaveBackend> CSimWaveBackend::FromEnvironment()
{
    SSimWaveConfig config;
    config.inputPath = Environment("PARLANTOGRAPHER_SIM_INPUT");
    config.outputPath = Environment("PARLANTOGRAPHER_SIM_OUTPUT");
    const std::string speed = Environment("PARLANTOGRAPHER_SIM_SPEED");
    if (speed == "fast")
        config.realtime = false;
    else if (!speed.empty() && speed != "realtime")
        throw std::invalid_argument(
            "PARLANTOGRAPHER_SIM_SPEED must be \"realtime\" or \"fast\", not \"" + speed + "\"");
    return std::make_unique<CSimWaveBackend>(std::move(config));
}

std::vector<SWaveDeviceInfo> CSimWaveBackend::Devices(EWaveDirection)
{
    return {{kDeviceName, kDeviceName, true}};
}

int CSimWaveBackend::QueryFormat(EWaveDirection, const std::string& name, const SWaveFormat& format)
{
    if (!name.empty() && name != kDeviceName)
        return kErrorNoDevice;
    const SWaveFormat supported = MakeWaveFormat(8000, 8, 1);
    const bool same = format.formatTag == supported.formatTag &&
                      format.channels == supported.channels &&
                      format.samplesPerSec == supported.samplesPerSec &&
                      format.bitsPerSample == supported.bitsPerSample &&
                      format.blockAlign == supported.blockAlign;
    return same ? 0 : kErrorFormat;
}

int CSimWaveBackend::Open(EWaveDirection direction, const std::string& name,
                          const SWaveFormat& format, MWaveNoticeSink& sink,
                          std::unique_ptr<MWaveDevice>& device)
{
    if (const int error = QueryFormat(direction, name, format))
        return error;
    if (direction == EWaveDirection::Input) {
        auto input = std::make_unique<CSimInputSource>();
        if (!m_config.inputPath.empty() && !input->Load(m_config.inputPath))
            return kErrorInputFile;
        device = std::make_unique<CSimWaveDevice>(sink, m_config.realtime, std::move(input));
    } else {
        CSimWaveDevice::FilePtr output;
        if (!m_config.outputPath.empty()) {
            output.reset(std::fopen(m_config.outputPath.c_str(), "ab"));
            if (!output)
                return kErrorOutputFile;
        }
        device = std::make_unique<CSimWaveDevice>(sink, m_config.realtime, std::move(output));
    }
    sink.PostWaveNotice(EWaveNotice::Open, nullptr);
    return 0;
}

bool CSimWaveBackend::ErrorText(int code, std::string& text)
{
    switch (code) {
    case kErrorNoDevice:
        text = "Simulated device: there is no such device";
        return true;
    case kErrorFormat:
        text = "Simulated device: only 8000 Hz 8-bit mono PCM is supported";
        return true;
    case kErrorInputFile:
        text = "Simulated device: PARLANTOGRAPHER_SIM_INPUT is not a readable 8 kHz 8-bit mono "
               "WAV or raw file";
        return true;
    case kErrorOutputFile:
        text = "Simulated device: PARLANTOGRAPHER_SIM_OUTPUT cannot be opened for appending";
        return true;
    case CSimWaveDevice::kErrorStopped:
        text = "Simulated device: the device has been reset or closed";
        return true;
    default:
        return false;
    }
}
