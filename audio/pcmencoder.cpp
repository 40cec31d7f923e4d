#include "audio/pcmencoder.h"

#include "audio/audioerror.h"

CPcmEncoder::CPcmEncoder(CAudioManager& manager) : CBaseEncoder(manager) {}
CPcmEncoder::~CPcmEncoder() = default;
void CPcmEncoder::Open(const std::string&, bool) { throw CAudioError("not implemented"); }
void CPcmEncoder::Close() {}
int CPcmEncoder::Write(const std::uint8_t*, std::size_t, bool) { return 0; }
