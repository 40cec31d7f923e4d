#include "audio/recorder.h"

#include "audio/audioerror.h"

CRecorder::CRecorder(CAudioManager& manager) : CBaseAudioDevice(manager) {}
CRecorder::~CRecorder() = default;
void CRecorder::Record(const std::string&) { throw CAudioError("not implemented"); }
void CRecorder::StopRecording() {}
void CRecorder::CheckDevices() {}
void CRecorder::Start() {}
void CRecorder::Stop() {}
