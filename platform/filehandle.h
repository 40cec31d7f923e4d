#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Owns a C stream: record files are read and written through buffered stdio, and every path
// out, an exception included, must close what it opened.
struct SFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, SFileCloser>;

// The open(2) flags of an fopen mode ("rb", "rb+", "wb+", "ab"...).
inline int OpenFlags(const char* mode)
{
    const std::string text(mode);
    const bool update = text.find('+') != std::string::npos;
    switch (text.empty() ? 'r' : text.front()) {
    case 'w':
        return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    case 'a':
        return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    default:
        return update ? O_RDWR : O_RDONLY;
    }
}

// Opens a record file as fopen would with `mode`, but only a regular file, and without ever
// waiting: a FIFO or a device named like a record would block the open, or every read, for
// good. Anything else gives nullptr with errno EINVAL; a failed open, nullptr with its errno.
inline FilePtr OpenFile(const std::string& path, const char* mode)
{
    const int fd = ::open(path.c_str(), OpenFlags(mode) | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FilePtr file(::fdopen(fd, mode));
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
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
