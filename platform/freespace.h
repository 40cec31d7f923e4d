#pragma once

#include <string>

// Bytes available to this user on the file system holding `path`; 0 when it cannot be
// told (a removed volume, a missing folder), which stops a running recording.
double FreeBytesAt(const std::string& path);
