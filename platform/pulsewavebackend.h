#pragma once

#include "platform/wavebackend.h"

#include <memory>
#include <mutex>

class CPulseConnection;

// The desktop's sound server through libpulse (PipeWire desktops serve the same
// protocol). Lists every source, monitors of outputs included, and every sink, by the
// server's names; an empty name follows the server's default. Error codes are libpulse's
// (PA_ERR_*), plus the two below. A connection lost with the server is made again at the
// next question.
class CPulseWaveBackend : public MWaveBackend
{
public:
    explicit CPulseWaveBackend(std::shared_ptr<CPulseConnection> connection);
    ~CPulseWaveBackend() override;

    // A backend on the server when one answers within a short time; null otherwise.
    static std::unique_ptr<CPulseWaveBackend> Connect();

    std::vector<SWaveDeviceInfo> Devices(EWaveDirection direction) override;
    int QueryFormat(EWaveDirection direction, const std::string& name,
                    const SWaveFormat& format) override;
    int Open(EWaveDirection direction, const std::string& name, const SWaveFormat& format,
             MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) override;
    bool ErrorText(int code, std::string& text) override;

    enum EError
    {
        kErrorNoServer = 1000, // the server went away and does not answer again
        kErrorStopped = 1001,  // the device has been reset, closed or lost
    };

private:
    // The connection, made again when the old one failed; null when the server is gone.
    std::shared_ptr<CPulseConnection> Connection();
    // 0 when the format is one the engine can ask of a stream.
    static int CheckFormat(const SWaveFormat& format);

    std::mutex m_connectionMutex; // the connection may be replaced from any caller's thread
    std::shared_ptr<CPulseConnection> m_connection;
};
