#include "store/reservedfile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

CReservedFile::~CReservedFile()
{
    std::error_code error;
    if (std::filesystem::is_regular_file(m_path, error) &&
        std::filesystem::file_size(m_path, error) == 0 && !error)
        std::filesystem::remove(m_path, error);
}

bool CReservedFile::TryCreate(const std::string& path)
{
    // "x": fail when the file exists, atomically with its creation.
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (!file)
        return false;
    return std::fclose(file) == 0;
}
