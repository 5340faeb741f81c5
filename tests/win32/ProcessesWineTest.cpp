// The process facility against a child process started from the test.
#include <gtest/gtest.h>

#include <algorithm>

#include "RunningProgram.h"
#include "WineTestSupport.h"
#include "platform/win32/Win32Processes.h"

namespace bastion::win32 {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

TEST(ProcessesWineTest, FindsAChildInBothListsAndEndsItWithTheGivenExitCode) {
    test::RunningProgram child(test::ProgramFolder() + "\\SleepyChild.exe");
    ASSERT_TRUE(child.Started()) << child.Path();
    Win32Processes processes;

    // The module list is readable once the child's loader has run.
    std::string baseName;
    for (int attempt = 0; attempt < 100 && baseName.empty(); ++attempt) {
        baseName = processes.BaseName(child.Id());
        if (baseName.empty()) {
            ::Sleep(50);
        }
    }
    EXPECT_EQ("sleepychild.exe", Lower(baseName));

    auto ids = processes.EnumerateIds();
    ASSERT_TRUE(ids.has_value());
    EXPECT_NE(ids->end(), std::find(ids->begin(), ids->end(), child.Id()));
    EXPECT_NE(ids->end(), std::find(ids->begin(), ids->end(), ::GetCurrentProcessId()));

    auto snapshot = processes.Snapshot();
    ASSERT_TRUE(snapshot.has_value());
    auto entry = std::find_if(snapshot->begin(), snapshot->end(),
                              [&](const platform::ProcessEntry& e) { return e.id == child.Id(); });
    ASSERT_NE(snapshot->end(), entry);
    EXPECT_EQ("sleepychild.exe", Lower(entry->exeFile));

    auto path = processes.FirstModulePath(child.Id());
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(Lower(child.Path()), Lower(*path));

    EXPECT_EQ(259u, processes.ExitCode(child.Id()));  // STILL_ACTIVE
    EXPECT_FALSE(processes.WaitForExit(child.Id(), 0));

    ASSERT_TRUE(processes.Terminate(child.Id(), 42));
    EXPECT_TRUE(processes.WaitForExit(child.Id(), 10000));
    EXPECT_EQ(42u, processes.ExitCode(child.Id()));

    // Once the test lets go of it, an ended process is either gone or still
    // ended: either way there is nothing left to wait for.
    child.Close();
    EXPECT_TRUE(processes.WaitForExit(child.Id(), 0));
}

TEST(ProcessesWineTest, NamesTheIdleAndSystemProcessesWithoutOpeningThem) {
    Win32Processes processes;
    EXPECT_EQ("System Idle Process", processes.BaseName(0));
    EXPECT_EQ("System", processes.BaseName(2));
}

TEST(ProcessesWineTest, DebugPrivilegeCanBeSwitchedOnAndOff) {
    Win32Processes processes;
    EXPECT_TRUE(processes.SetDebugPrivilege(true));
    EXPECT_TRUE(processes.SetDebugPrivilege(false));
}

}  // namespace
}  // namespace bastion::win32
