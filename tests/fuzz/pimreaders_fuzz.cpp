// Contact and task files of any content: the readers end, without a crash, on every input.

#include "store/icalendartaskreader.h"
#include "store/vcardreader.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Both readers on every input, so one corpus of both kinds serves both.
    CVCardReader::Parse(text);
    CICalendarTaskReader::Parse(text);
    return 0;
}
