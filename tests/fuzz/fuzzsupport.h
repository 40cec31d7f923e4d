#pragma once

// Shared by the fuzz targets: a private scratch folder per process and whole-file writes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fuzzsupport {

// One folder per fuzzing process, below the temporary folder (scripts/fuzz.sh gives each run
// its own and removes it); removed here too when the process exits normally.
inline const std::filesystem::path& Scratch()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("parlantographer-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Scratch(), ignored);
        });
        return path;
    }();
    return folder;
}

inline void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A broken property: report it the way libFuzzer reports a crash, with the input kept.
[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz property failed: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
