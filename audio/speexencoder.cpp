#include "audio/speexencoder.h"

#include "audio/audioerror.h"

CSpeexEncoder::CSpeexEncoder(CAudioManager& manager) : CBaseEncoder(manager) {}
CSpeexEncoder::~CSpeexEncoder() = default;
void CSpeexEncoder::Open(const std::string&, bool) { throw CAudioError("not implemented"); }
void CSpeexEncoder::Close() {}
int CSpeexEncoder::Write(const std::uint8_t*, std::size_t, bool) { return 0; }
