#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Owns a C stream: record files and the simulated device's files are read and written
// through buffered stdio, and every path out, an exception included, must close what it
// opened.
struct SFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, SFileCloser>;

inline FilePtr OpenFile(const std::string& path, const char* mode)
{
    return FilePtr(std::fopen(path.c_str(), mode));
}

// Size of an open file in bytes, or -1 when it cannot be told. Leaves the position
// where it was.
inline std::int64_t FileSize(std::FILE* file)
{
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end;
}

// Writes all of `size` bytes or reports failure.
inline bool WriteAll(std::FILE* file, const void* data, std::size_t size)
{
    return size == 0 || std::fwrite(data, 1, size, file) == size;
}
