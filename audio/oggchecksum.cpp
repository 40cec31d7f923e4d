#include "audio/oggchecksum.h"

#include <array>
#include <cstring>
#include <ogg/ogg.h>

#if defined(__x86_64__)
#include <immintrin.h>
#define PARLANTO_OGG_FOLDING 1
#endif

namespace OggChecksum {
namespace {

constexpr std::size_t kHeader = 27;
constexpr std::size_t kField = 22; // where the header keeps its checksum

} // namespace

std::uint32_t ByLibogg(const std::uint8_t* page, std::size_t length)
{
    // libogg writes the checksum into the header it is given; a copy takes it. Any split of
    // the page into header and body gives the same sum.
    std::array<unsigned char, kHeader> header;
    std::memcpy(header.data(), page, kHeader);
    ogg_page whole{header.data(), static_cast<long>(kHeader),
                   const_cast<std::uint8_t*>(page + kHeader), static_cast<long>(length - kHeader)};
    ogg_page_checksum_set(&whole);
    return std::uint32_t{header[kField]} | std::uint32_t{header[kField + 1]} << 8 |
           std::uint32_t{header[kField + 2]} << 16 | std::uint32_t{header[kField + 3]} << 24;
}

#ifdef PARLANTO_OGG_FOLDING
namespace {

constexpr std::uint32_t kPolynomial = 0x04c11db7;

// r times x, modulo the polynomial.
constexpr std::uint32_t TimesX(std::uint32_t r)
{
    return (r & 0x80000000u) ? (r << 1) ^ kPolynomial : r << 1;
}

// x^n modulo the polynomial: what multiplying by x^n leaves, for folding n bits ahead.
constexpr std::uint64_t XPower(unsigned n)
{
    std::uint32_t r = 1;
    for (unsigned i = 0; i < n; ++i)
        r = TimesX(r);
    return r;
}

// Each byte's checksum from a zero register: the byte times x^32.
constexpr std::array<std::uint32_t, 256> MakeTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            r = TimesX(r);
        table[i] = r;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

#define PARLANTO_FOLDING_TARGET __attribute__((target("sse4.1,pclmul")))

// Sixteen bytes as a polynomial whose bit i is the coefficient of x^i: the first byte holds
// the highest powers, so the bytes are reversed.
PARLANTO_FOLDING_TARGET __m128i Load(const std::uint8_t* at)
{
    const __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), reverse);
}

// `value` times x^n, reduced no further than to fit: its high half times x^(n+64) and its
// low half times x^n, each modulo the polynomial, are below x^95.
PARLANTO_FOLDING_TARGET __m128i Fold(__m128i value, __m128i constants)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(value, constants, 0x00),
                         _mm_clmulepi64_si128(value, constants, 0x11));
}

PARLANTO_FOLDING_TARGET std::uint64_t Times(std::uint64_t a, std::uint64_t b)
{
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(
        _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(a)),
                             _mm_cvtsi64_si128(static_cast<long long>(b)), 0x00)));
}

// The checksum of bytes that stand for `value`: value times x^32 modulo the polynomial,
// narrowed from 128 bits to 96, to 64, and the last 32 through the table.
PARLANTO_FOLDING_TARGET std::uint32_t Reduce(__m128i value)
{
    constexpr std::uint64_t k96 = XPower(96), k64 = XPower(64);
    const auto high = static_cast<std::uint64_t>(_mm_extract_epi64(value, 1));
    const auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(value));
    const __m128i product =
        _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(high)),
                             _mm_cvtsi64_si128(static_cast<long long>(k96)), 0x00); // below x^95
    const std::uint64_t top =
        static_cast<std::uint64_t>(_mm_extract_epi64(product, 1)) ^ low >> 32; // x^64..x^95
    const std::uint64_t rest =
        (static_cast<std::uint64_t>(_mm_cvtsi128_si64(product)) ^ low << 32) ^ Times(top, k64);
    std::uint32_t crc = 0;
    for (int shift = 56; shift >= 32; shift -= 8)
        crc = crc << 8 ^ kTable[(crc >> 24 ^ static_cast<std::uint32_t>(rest >> shift)) & 0xff];
    return crc ^ static_cast<std::uint32_t>(rest);
}

// Zeros in front change no checksum that starts from zero. The page is padded in front to a
// whole number of 16-byte blocks, and at least four of them; its first bytes are copied so
// that the checksum field reads as zeros. Four lanes then carry 64 bytes ahead each round, are
// folded into one, and the rest is taken sixteen bytes at a time.
PARLANTO_FOLDING_TARGET std::uint32_t Folded(const std::uint8_t* page, std::size_t length)
{
    constexpr std::uint64_t k576 = XPower(576), k512 = XPower(512);
    constexpr std::uint64_t k192 = XPower(192), k128 = XPower(128);
    const __m128i by512 =
        _mm_set_epi64x(static_cast<long long>(k576), static_cast<long long>(k512));
    const __m128i by128 =
        _mm_set_epi64x(static_cast<long long>(k192), static_cast<long long>(k128));
    const std::size_t padded = (length + 15) / 16 * 16;
    const std::size_t head = padded >= 64 ? 64 - (padded - length) : length;
    alignas(16) std::uint8_t first[64] = {};
    std::memcpy(first + 64 - head, page, head);
    std::memset(first + 64 - head + kField, 0, 4);
    __m128i lane[4] = {Load(first), Load(first + 16), Load(first + 32), Load(first + 48)};
    const std::uint8_t* at = page + head;
    const std::uint8_t* const end = page + length;
    for (; end - at >= 64; at += 64)
        for (int i = 0; i < 4; ++i)
            lane[i] = _mm_xor_si128(Fold(lane[i], by512), Load(at + 16 * i));
    __m128i value = lane[0];
    for (int i = 1; i < 4; ++i)
        value = _mm_xor_si128(Fold(value, by128), lane[i]);
    for (; at < end; at += 16)
        value = _mm_xor_si128(Fold(value, by128), Load(at));
    return Reduce(value);
}

bool CanFold()
{
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}

} // namespace
#endif

std::uint32_t Of(const std::uint8_t* page, std::size_t length)
{
#ifdef PARLANTO_OGG_FOLDING
    if (CanFold())
        return Folded(page, length);
#endif
    return ByLibogg(page, length);
}

} // namespace OggChecksum
