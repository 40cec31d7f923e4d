#include "cli/infotext.h"

#include "cli/commandfailure.h"
#include "cli/commandline.h"
#include "cli/usageerror.h"
#include "store/recordinfo.h"

#include <fstream>
#include <iterator>

namespace InfoText {

namespace {

std::string ReadInfoFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw CCommandFailure("Cannot read the information file " + path);
    // One byte more than fits is enough to refuse a file that is too large.
    std::string bytes(kCapacity + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad())
        throw CCommandFailure("Cannot read the information file " + path);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

} // namespace

std::string FromOptions(const CCommandLine& line)
{
    const auto text = line.Value("info");
    const auto file = line.Value("info-file");
    if (text && file)
        throw CUsageError("give either --info or --info-file, not both");
    std::string bytes = text ? *text : file ? ReadInfoFile(*file) : std::string();
    CheckStorable(bytes);
    return bytes;
}

void CheckStorable(std::string_view bytes)
{
    if (bytes.size() > kCapacity) {
        throw CCommandFailure("The information does not fit: a record holds at most " +
                              std::to_string(kCapacity) + " bytes of it.");
    }
    if (bytes.find('\0') != std::string_view::npos)
        throw CCommandFailure("The information contains a zero byte: it would end there.");
}

QString Decode(std::string_view area)
{
    return RecordInfo::DecodeRecordInfo(
        QByteArrayView(area.data(), static_cast<qsizetype>(area.size())));
}

} // namespace InfoText
