#include "audio/rawdatadecoder.h"

#include "audio/audioerror.h"

CRawDataDecoder::CRawDataDecoder() = default;
CRawDataDecoder::~CRawDataDecoder() = default;
void CRawDataDecoder::Open(const std::string&, CAudioManager&) { throw CAudioError("not implemented"); }
void CRawDataDecoder::Close() {}
bool CRawDataDecoder::Read(std::uint8_t*, std::size_t& size) { size = 0; return true; }
std::uint32_t CRawDataDecoder::GetLength() { return 0; }
