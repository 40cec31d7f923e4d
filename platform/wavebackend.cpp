#include "platform/wavebackend.h"

namespace {
class CNoDevices : public MWaveBackend
{
public:
    std::vector<std::string> InputDeviceNames() override { return {}; }
    std::vector<std::string> OutputDeviceNames() override { return {}; }
};
} // namespace

std::unique_ptr<MWaveBackend> CreateWaveBackend() { return std::make_unique<CNoDevices>(); }
