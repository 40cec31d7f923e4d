#include "platform/home.h"

#include <gtest/gtest.h>

namespace {

TEST(HomeTest, TheEnvironmentChoosesTheHome)
{
    qputenv(Home::kHomeVariable, "/tmp/some home//");
    EXPECT_TRUE(Home::IsChosenByEnvironment());
    EXPECT_EQ(Home::Folder(), u"/tmp/some home/"_qs);
    EXPECT_TRUE(Home::DeviceDataFolder().endsWith(u"/Brindlewares/Parlantographer/Data/"_qs));
    qunsetenv(Home::kHomeVariable);
    EXPECT_FALSE(Home::IsChosenByEnvironment());
    EXPECT_EQ(Home::Folder(), Home::ApplicationDataFolder());
    EXPECT_EQ(Home::WithTrailingSlash(u"/"_qs), u"/"_qs);
    EXPECT_TRUE(Home::WithTrailingSlash(QString()).isEmpty());
}

} // namespace
