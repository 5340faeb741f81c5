#include <gtest/gtest.h>

#include "platform/win32/Win32Clock.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {
namespace {

TEST(ClockWineTest, NowIsTheLocalTime) {
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    DateTime now = Win32Clock().Now();
    EXPECT_EQ(before.wYear, now.year);
    EXPECT_EQ(before.wMonth, now.month);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_LT(now.hour, 24);
    EXPECT_LT(now.minute, 60);
    EXPECT_LT(now.second, 60);
}

}  // namespace
}  // namespace bastion::win32
