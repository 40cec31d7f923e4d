#include "audio/speexdecoder.h"

#include "audio/audioerror.h"

CSpeexDecoder::CSpeexDecoder() = default;
CSpeexDecoder::~CSpeexDecoder() = default;
void CSpeexDecoder::Open(const std::string&, CAudioManager&) { throw CAudioError("not implemented"); }
void CSpeexDecoder::Close() {}
bool CSpeexDecoder::Read(std::uint8_t*, std::size_t& size) { size = 0; return true; }
std::uint32_t CSpeexDecoder::GetLength() { return 0; }
