// Linked into every test program: the tests run with data and configuration folders of their
// own, so that the user's memos, trash and settings neither change a result nor are changed.

#include "support/tempfolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CPrivateXdgEnvironment : public ::testing::Environment
{
public:
    CPrivateXdgEnvironment()
    {
        std::filesystem::create_directories(m_root->Path() / "data");
        std::filesystem::create_directories(m_root->Path() / "config");
        ::setenv("XDG_DATA_HOME", (m_root->Path() / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root->Path() / "config").c_str(), 1);
    }
    void TearDown() override { m_root.reset(); }

private:
    std::unique_ptr<testsupport::CTempFolder> m_root =
        std::make_unique<testsupport::CTempFolder>("parlantographer-xdg-");
};

// Before main, so that nothing reads the user's folders first; gtest owns the object.
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new CPrivateXdgEnvironment);

} // namespace
