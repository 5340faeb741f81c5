#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"

namespace bastion::win32 {
namespace {

TEST(PlatformWineTest, BundleHandsOutTheRealFacilities) {
    Win32Platform machine;
    platform::Platform& bundle = machine.Get();
    EXPECT_EQ(::GetACP(), bundle.codePage.Id());
    EXPECT_EQ(2u, bundle.system.GetOsVersion().platformId);
    EXPECT_EQ(platform::kRegOk, bundle.registry.OpenKey(platform::Hive::CurrentUser, "Software",
                                                         platform::RegAccess::Read));
    EXPECT_TRUE(bundle.files.FolderExists(bundle.system.SystemFolder()));
}

}  // namespace
}  // namespace bastion::win32
