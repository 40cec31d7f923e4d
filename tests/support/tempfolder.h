#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class CTempFolder
{
public:
    explicit CTempFolder(const std::string& prefix = "parlantographer-test-")
        : m_path(std::filesystem::temp_directory_path() /
                 (prefix + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace testsupport
