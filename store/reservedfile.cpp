#include "store/reservedfile.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

CReservedFile::CReservedFile(std::string path) : m_path(std::move(path))
{
    m_lockFd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    // Without the lock the recording still goes on; only the delete guard is lost.
    if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

CReservedFile::~CReservedFile()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
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
