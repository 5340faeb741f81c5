// Facts about the machine as Wine reports them.
#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemInfo.h"

namespace bastion::win32 {
namespace {

TEST(SystemInfoWineTest, ReportsAnNtSystemAndTheRunningProgram) {
    Win32SystemInfo system;
    platform::OsVersion version = system.GetOsVersion();
    EXPECT_EQ(2u, version.platformId);
    EXPECT_GE(version.major, 6u);  // Windows 7 and later

    std::string folder = system.SystemFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE('\\', folder.back());
    EXPECT_TRUE(Win32FileSystem().FolderExists(folder)) << folder;

    EXPECT_FALSE(system.UserName().empty());
    EXPECT_FALSE(system.ComputerName().empty());

    std::string program = system.ProgramPath();
    const std::string name = "\\win32_tests.exe";
    ASSERT_GT(program.size(), name.size());
    EXPECT_EQ(name, program.substr(program.size() - name.size()));
    EXPECT_EQ(test::ProgramFolder(), program.substr(0, program.size() - name.size()));

    EXPECT_EQ(::GetACP(), system.AnsiCodePage());
}

}  // namespace
}  // namespace bastion::win32
