#include "audio/player.h"

#include "audio/audioerror.h"

CPlayer::CPlayer(CAudioManager& manager) : CBaseAudioDevice(manager) {}
CPlayer::~CPlayer() = default;
void CPlayer::Play(const std::string&) { throw CAudioError("not implemented"); }
void CPlayer::StopPlaying() {}
void CPlayer::SetEndOfPlaybackHandler(std::function<void()>) {}
void CPlayer::CheckDevices() {}
void CPlayer::Start() {}
void CPlayer::Stop() {}
