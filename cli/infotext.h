#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

class CCommandLine;

// The record information as the command line gives it and as a record gives it back.
namespace InfoText {

// The information area every record reserves.
inline constexpr std::size_t kCapacity = 1024;

// The bytes of --info TEXT or of the file named by --info-file, exactly as given; empty
// when neither is present. Throws CUsageError when both are given, CCommandFailure when
// the file cannot be read or the text cannot be stored whole: longer than the area,
// or holding a zero byte (a reader would stop there and lose the rest).
std::string FromOptions(const CCommandLine& line);

// Refuses (CCommandFailure) a text that a record cannot keep whole; see FromOptions.
void CheckStorable(std::string_view bytes);

// The text of an information area up to its first zero byte, decoded as UTF-8, or as
// Windows-1252 when it is not valid UTF-8 (a record made by an older version in its Windows code
// page).
QString Decode(std::string_view area);

} // namespace InfoText
