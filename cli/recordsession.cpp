#include "cli/recordsession.h"

#include "audio/audiomanager.h"
#include "audio/recorder.h"
#include "audio/tagger.h"
#include "audio/timeleft.h"
#include "cli/stopsignal.h"
#include "platform/freespace.h"

#include <chrono>

namespace {

// How long the main thread waits for the sample count before it looks at the stop
// flag again: short enough that an interruption is acted on at once.
constexpr std::chrono::milliseconds kPollPeriod{20};
// How often the free space is compared with the reserve, as the program's record
// button does while it counts down.
constexpr std::chrono::milliseconds kSpaceCheckPeriod{1000};

} // namespace

CRecordSession::CRecordSession(CAudioManager& manager, const CStopSignal& stop,
                               std::string freeSpaceFolder)
    : m_manager(manager), m_stop(stop), m_freeSpaceFolder(std::move(freeSpaceFolder))
{}

ERecordEnd CRecordSession::Run(const std::string& path, const std::string& info,
                               std::uint64_t samples)
{
    CRecorder& recorder = m_manager.GetRecorder();
    recorder.SetSampleLimit(samples);
    recorder.Record(path, info);
    ERecordEnd end = ERecordEnd::DeviceStopped;
    try {
        end = WaitForEnd();
    } catch (...) {
        recorder.StopRecording();
        throw;
    }
    recorder.StopRecording();
    m_manager.GetTagger().WriteRecordInfo(path, info.data(), info.size());
    return end;
}

ERecordEnd CRecordSession::WaitForEnd()
{
    CRecorder& recorder = m_manager.GetRecorder();
    auto nextSpaceCheck = std::chrono::steady_clock::now() + kSpaceCheckPeriod;
    for (;;) {
        if (recorder.WaitForSampleLimit(kPollPeriod))
            return ERecordEnd::Complete;
        if (m_stop.Raised())
            return ERecordEnd::Interrupted;
        if (recorder.IsStopped())
            return recorder.WaitForSampleLimit(std::chrono::milliseconds(0))
                       ? ERecordEnd::Complete
                       : ERecordEnd::DeviceStopped;
        if (std::chrono::steady_clock::now() >= nextSpaceCheck) {
            if (!TimeLeft::HasRoomToRecord(FreeBytesAt(m_freeSpaceFolder)))
                return ERecordEnd::LowSpace;
            nextSpaceCheck += kSpaceCheckPeriod;
        }
    }
}
