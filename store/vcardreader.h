#pragma once

#include "store/pimsource.h"

#include <QByteArray>
#include <vector>

// Reads the contacts of vCard text (versions 2.1, 3.0 and 4.0), several cards per file.
//
// Accepted: CRLF or LF line ends, folded lines (a line end followed by a space or tab),
// quoted-printable values with soft line breaks, base64 values, the CHARSET parameter in
// any set iconv knows (decoded before the value is split or unescaped; no CHARSET, UTF-8,
// or an unknown set mean UTF-8, read as Windows-1252 when it is not valid UTF-8), a
// leading byte-order mark (UTF-8, or UTF-16 of either order, which is read as such),
// grouped property names ("item1.N"), names and parameters in any case, and the escapes
// \, \; \n \N and \\.
//
// The N property gives the name (family;given;additional;prefix;suffix); the first one of
// a card is taken. A card whose N is missing or empty gives its first FN whole as the given
// name; a card with neither gives nothing.
// Lines without a colon are skipped. A card that is not closed by END:VCARD ends at the
// next BEGIN:VCARD or at the end of the text and is still read: a truncated export loses
// no contact that was complete up to its name.
class CVCardReader
{
public:
    static std::vector<SPimContact> Parse(const QByteArray& text);
};
