// Linked into every test program: the tests run with data and configuration folders of their
// own, so that the user's memos, trash and settings neither change a result nor are changed.

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

class CPrivateXdgEnvironment : public ::testing::Environment
{
public:
    CPrivateXdgEnvironment()
    {
        std::filesystem::create_directories(m_root / "data");
        std::filesystem::create_directories(m_root / "config");
        ::setenv("XDG_DATA_HOME", (m_root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

private:
    std::filesystem::path m_root =
        std::filesystem::temp_directory_path() /
        ("parlantographer-xdg-" + std::to_string(std::random_device{}()));
};

// Before main, so that nothing reads the user's folders first; gtest owns the object.
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new CPrivateXdgEnvironment);

} // namespace
