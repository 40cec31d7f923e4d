#include "store/textcodec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace TextCodec {
namespace {

// 0x80..0x9F of Windows-1252; the undefined positions keep their own value.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

bool IsValidUtf8(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            // Text is mostly ASCII: eight bytes at a time while none has its high bit set.
            std::uint64_t word = 0;
            while (i + 8 <= size &&
                   !(std::memcpy(&word, bytes.data() + i, 8), word & 0x8080808080808080u))
                i += 8;
            continue;
        }
        int length = 0;
        char32_t minimum = 0;
        char32_t value = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            minimum = 0x80;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            minimum = 0x800;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            minimum = 0x10000;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > size)
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (!IsContinuation(next))
                return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

QString FromWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            text.append(QChar(kHighControls[byte - 0x80]));
        else
            text.append(QChar(byte));
    }
    return text;
}

QString Decode(QByteArrayView bytes)
{
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return FromWindows1252(bytes);
}

QByteArray Encode(const QString& text)
{
    return text.toUtf8();
}

QByteArray TruncateUtf8(const QByteArray& bytes, qsizetype maxBytes)
{
    if (maxBytes < 0)
        maxBytes = 0;
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype cut = maxBytes;
    // The byte at `cut` is the first one dropped; while it continues a sequence, the
    // sequence's start lies before the cut and must go too.
    while (cut > 0 && IsContinuation(static_cast<unsigned char>(bytes[cut])))
        --cut;
    return bytes.left(cut);
}

QByteArray EncodeTruncated(const QString& text, qsizetype maxBytes)
{
    return TruncateUtf8(Encode(text), maxBytes);
}

} // namespace TextCodec
