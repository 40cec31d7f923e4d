#include "audio/rawdataencoder.h"

#include "audio/audioerror.h"

CRawDataEncoder::CRawDataEncoder(CAudioManager& manager) : CBaseEncoder(manager) {}
CRawDataEncoder::~CRawDataEncoder() = default;
void CRawDataEncoder::Open(const std::string&, bool) { throw CAudioError("not implemented"); }
void CRawDataEncoder::Close() {}
int CRawDataEncoder::Write(const std::uint8_t*, std::size_t, bool) { return 0; }
