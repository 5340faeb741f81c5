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

TEST(ClockWineTest, UniversalTimeDiffersFromLocalTimeByTheZonesBias) {
    Win32Clock clock;
    const DateTime local = clock.Now();
    const DateTime universal = clock.UniversalNow();
    TIME_ZONE_INFORMATION zone{};
    const DWORD mode = ::GetTimeZoneInformation(&zone);
    long bias = zone.Bias;
    if (mode == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    if (mode == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    // Local = universal - bias; a second may tick between the two looks.
    EXPECT_NEAR(static_cast<double>(SecondsBetween(universal, local)), -60.0 * bias, 2.0);
}

}  // namespace
}  // namespace bastion::win32
