#pragma once

#include "store/pimsource.h"

#include <QByteArray>
#include <vector>

// Reads the contacts of vCard text (versions 2.1, 3.0 and 4.0), several cards per file.
//
// Accepted: CRLF or LF line ends, folded lines (a line end followed by a space or tab),
// quoted-printable values with soft line breaks, base64 values, the CHARSET parameter of
// old exports (UTF-8, ISO-8859-1, Windows-1252; anything else and no CHARSET mean UTF-8,
// read as Windows-1252 when it is not valid UTF-8), grouped property names ("item1.N"),
// names and parameters in any case, and the escapes \, \; \n \N and \\.
//
// Only the N property matters (family;given;additional;prefix;suffix); the first one of
// a card is taken. A card without N, or whose three name parts are empty, gives nothing.
// Lines without a colon are skipped. A card that is not closed by END:VCARD ends at the
// next BEGIN:VCARD or at the end of the text and is still read: a truncated export loses
// no contact that was complete up to its name.
class CVCardReader
{
public:
    static std::vector<SPimContact> Parse(const QByteArray& text);
};
