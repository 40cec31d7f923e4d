#include "platform/pulsewavebackend.h"

#include "platform/pulseconnection.h"
#include "platform/pulsewavedevice.h"
#include "platform/wavenoticesink.h"

#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/thread-mainloop.h>

namespace {

constexpr std::chrono::milliseconds kConnectTimeout{1000};

struct SListing
{
    pa_threaded_mainloop* mainloop;
    std::vector<SWaveDeviceInfo> devices;
    std::string defaultName;
};

template <typename Info> void AddDevice(SListing& listing, const Info* info, int eol)
{
    if (eol || !info) {
        CPulseConnection::Wake(listing.mainloop);
        return;
    }
    listing.devices.push_back(
        {info->name ? info->name : "", info->description ? info->description : "", false});
}

void OnSource(pa_context*, const pa_source_info* info, int eol, void* userdata)
{
    AddDevice(*static_cast<SListing*>(userdata), info, eol);
}

void OnSink(pa_context*, const pa_sink_info* info, int eol, void* userdata)
{
    AddDevice(*static_cast<SListing*>(userdata), info, eol);
}

struct SDefaults
{
    pa_threaded_mainloop* mainloop;
    std::string source;
    std::string sink;
};

void OnServer(pa_context*, const pa_server_info* info, void* userdata)
{
    auto& defaults = *static_cast<SDefaults*>(userdata);
    if (info) {
        defaults.source = info->default_source_name ? info->default_source_name : "";
        defaults.sink = info->default_sink_name ? info->default_sink_name : "";
    }
    CPulseConnection::Wake(defaults.mainloop);
}

} // namespace

CPulseWaveBackend::CPulseWaveBackend(std::shared_ptr<CPulseConnection> connection)
    : m_connection(std::move(connection))
{}

CPulseWaveBackend::~CPulseWaveBackend() = default;

std::unique_ptr<CPulseWaveBackend> CPulseWaveBackend::Connect()
{
    auto connection = CPulseConnection::Connect(kConnectTimeout);
    if (!connection)
        return nullptr;
    return std::make_unique<CPulseWaveBackend>(std::move(connection));
}

std::shared_ptr<CPulseConnection> CPulseWaveBackend::Connection()
{
    std::lock_guard guard(m_connectionMutex);
    {
        CPulseConnection::CLock lock(*m_connection);
        if (m_connection->Ready())
            return m_connection;
    }
    auto again = CPulseConnection::Connect(kConnectTimeout);
    if (again)
        m_connection = again;
    return again;
}

std::vector<SWaveDeviceInfo> CPulseWaveBackend::Devices(EWaveDirection direction)
{
    const auto connection = Connection();
    if (!connection)
        return {};
    const bool input = direction == EWaveDirection::Input;
    SListing listing{connection->Mainloop(), {}, {}};
    SDefaults defaults{connection->Mainloop(), {}, {}};
    {
        CPulseConnection::CLock lock(*connection);
        pa_context* context = connection->Context();
        connection->Await(pa_context_get_server_info(context, &OnServer, &defaults));
        connection->Await(input ? pa_context_get_source_info_list(context, &OnSource, &listing)
                                : pa_context_get_sink_info_list(context, &OnSink, &listing));
    }
    const std::string& defaultName = input ? defaults.source : defaults.sink;
    bool marked = false;
    for (SWaveDeviceInfo& device : listing.devices) {
        device.isDefault = !marked && device.name == defaultName;
        marked = marked || device.isDefault;
    }
    // A default that names no present device: the server falls back to some device, and
    // the list still needs exactly one default.
    if (!marked && !listing.devices.empty())
        listing.devices.front().isDefault = true;
    return listing.devices;
}

int CPulseWaveBackend::CheckFormat(const SWaveFormat& format)
{
    const bool pcm = format.formatTag == 1 &&
                     (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
                     format.channels >= 1 && format.channels <= 2 && format.samplesPerSec > 0;
    return pcm ? PA_OK : PA_ERR_NOTSUPPORTED;
}

int CPulseWaveBackend::QueryFormat(EWaveDirection direction, const std::string& name,
                                   const SWaveFormat& format)
{
    if (const int error = CheckFormat(format))
        return error;
    // The server converts any rate and width, so only the device's presence is in question.
    if (!name.empty() && !HasWaveDevice(Devices(direction), name))
        return PA_ERR_NOENTITY;
    return PA_OK;
}

int CPulseWaveBackend::Open(EWaveDirection direction, const std::string& name,
                            const SWaveFormat& format, MWaveNoticeSink& sink,
                            std::unique_ptr<MWaveDevice>& device)
{
    if (const int error = CheckFormat(format))
        return error;
    auto connection = Connection();
    if (!connection)
        return kErrorNoServer;
    auto opened = std::make_unique<CPulseWaveDevice>(direction, sink, std::move(connection));
    if (const int error = opened->OpenStream(name, format))
        return error;
    device = std::move(opened);
    sink.PostWaveNotice(EWaveNotice::Open, nullptr);
    return PA_OK;
}

bool CPulseWaveBackend::ErrorText(int code, std::string& text)
{
    switch (code) {
    case kErrorNoServer:
        text = "Sound server: the server does not answer";
        return true;
    case kErrorStopped:
        text = "Sound server: the device has been reset, closed or lost";
        return true;
    default:
        break;
    }
    if (code <= PA_OK || code >= PA_ERR_MAX)
        return false;
    const char* message = pa_strerror(code);
    if (!message)
        return false;
    text = std::string("Sound server: ") + message;
    return true;
}
