#include "store/charsetdecoder.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {

struct SIconvClose
{
    void operator()(iconv_t handle) const { iconv_close(handle); }
};
using IconvPtr = std::unique_ptr<std::remove_pointer_t<iconv_t>, SIconvClose>;

} // namespace

namespace CharsetDecoder {

std::optional<QString> Decode(const QByteArray& bytes, const QByteArray& charset)
{
    const iconv_t raw = iconv_open("UTF-8", charset.constData());
    if (raw == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    const IconvPtr handle(raw);
    // Four UTF-8 bytes per input byte cover every set (the worst is one byte to U+FFFF).
    QByteArray out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.constData());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    char* to = out.data();
    std::size_t outLeft = static_cast<std::size_t>(out.size());
    if (iconv(handle.get(), &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(handle.get(), nullptr, nullptr, &to, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.truncate(to - out.data());
    return QString::fromUtf8(out);
}

} // namespace CharsetDecoder
