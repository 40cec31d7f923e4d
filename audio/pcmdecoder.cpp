#include "audio/pcmdecoder.h"

#include "audio/audioerror.h"

CPcmDecoder::CPcmDecoder() = default;
CPcmDecoder::~CPcmDecoder() = default;
void CPcmDecoder::Open(const std::string&, CAudioManager&) { throw CAudioError("not implemented"); }
void CPcmDecoder::Close() {}
bool CPcmDecoder::Read(std::uint8_t*, std::size_t& size) { size = 0; return true; }
std::uint32_t CPcmDecoder::GetLength() { return 0; }
