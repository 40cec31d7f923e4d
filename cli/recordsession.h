#pragma once

#include <cstdint>
#include <string>

class CAudioManager;
class CStopSignal;

// Why a recording ended.
enum class ERecordEnd
{
    Complete,     // the requested number of samples was captured
    Interrupted,  // SIGINT or SIGTERM
    LowSpace,     // the storage fell below the recording reserve
    DeviceStopped // the capture stopped by itself before the requested length
};

// One recording from start to finished record: the recorder runs until the sample
// count is reached, a stop signal arrives or the storage runs low; then the file is
// finalised and the information written into its header. Whatever ends the recording,
// the file is closed and tagged exactly as after a normal end.
class CRecordSession
{
public:
    CRecordSession(CAudioManager& manager, const CStopSignal& stop, std::string freeSpaceFolder);

    // Records `samples` samples (at least 1) into `path` with the manager's current
    // codec. The information is handed to the recorder at the start too, so a process
    // killed outright still leaves a record with it. Throws CAudioError from the engine;
    // the file is finalised before the error propagates when recording had begun.
    ERecordEnd Run(const std::string& path, const std::string& info, std::uint64_t samples);

private:
    ERecordEnd WaitForEnd();

    CAudioManager& m_manager;
    const CStopSignal& m_stop;
    std::string m_freeSpaceFolder;
};
