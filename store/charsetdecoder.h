#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text in a named character set ("SHIFT_JIS", "ISO-8859-7", "UTF-16", ...) converted
// through the C library's iconv, which knows every set address-book exports use.
namespace CharsetDecoder {

// nullopt when the set is unknown or the bytes are not valid in it.
std::optional<QString> Decode(const QByteArray& bytes, const QByteArray& charset);

} // namespace CharsetDecoder
