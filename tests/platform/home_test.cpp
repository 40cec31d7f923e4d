#include "platform/home.h"
#include "support/scopedenv.h"

#include <gtest/gtest.h>

namespace {

TEST(HomeTest, TheEnvironmentChoosesTheHome)
{
    const testsupport::CScopedEnv chosen(Home::kHomeVariable, "/tmp/some home//");
    EXPECT_TRUE(Home::IsChosenByEnvironment());
    EXPECT_EQ(Home::Folder(), u"/tmp/some home/"_qs);
    EXPECT_TRUE(Home::DeviceDataFolder().endsWith(u"/Brindlewares/Parlantographer/Data/"_qs));
    chosen.Set(std::nullopt);
    EXPECT_FALSE(Home::IsChosenByEnvironment());
    EXPECT_EQ(Home::Folder(), Home::ApplicationDataFolder());
    EXPECT_EQ(Home::WithTrailingSlash(u"/"_qs), u"/"_qs);
    EXPECT_TRUE(Home::WithTrailingSlash(QString()).isEmpty());
}

} // namespace
