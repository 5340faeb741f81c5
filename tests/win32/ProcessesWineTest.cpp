// The process facility against a child process started from the test.
#include <gtest/gtest.h>

#include <algorithm>

#include "RunningProgram.h"
#include "WineTestSupport.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32SystemInfo.h"
#include "scan/processes/ProcessList.h"
#include "scan/processes/ProcessStop.h"

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

    ASSERT_TRUE(test::WaitUntilNamed(child, processes));
    ProcessList list;
    ASSERT_GT(GetProcessList(processes, list, "", true), 0);
    auto listed = std::find(list.ids.begin(), list.ids.end(), child.Id());
    ASSERT_NE(listed, list.ids.end());
    EXPECT_EQ("sleepychild.exe", Lower(list.names[static_cast<std::size_t>(listed - list.ids.begin())]));

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

    auto path = processes.ImagePath(child.Id());
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(Lower(child.Path()), Lower(*path));

    EXPECT_EQ(259u, processes.ExitCode(child.Id()));  // STILL_ACTIVE
    EXPECT_FALSE(processes.WaitForExit(child.Id(), 0));

    EXPECT_TRUE(processes.MayTerminate(child.Id()));
    // What it runs is read, and it is ended, through one handle.
    const std::unique_ptr<platform::ProcessHandle> handle = processes.Open(child.Id());
    ASSERT_TRUE(handle);
    EXPECT_EQ(Lower(child.Path()), Lower(handle->ImagePath().value_or("")));
    EXPECT_FALSE(handle->WaitForExit(0));
    ASSERT_EQ(handle->Terminate(42), platform::TerminateResult::Terminated);
    EXPECT_TRUE(handle->WaitForExit(10000));
    EXPECT_TRUE(processes.WaitForExit(child.Id(), 10000));
    EXPECT_EQ(42u, processes.ExitCode(child.Id()));

    // Once the test lets go of it, an ended process is either gone or still
    // ended: either way there is nothing left to wait for.
    child.Close();
    EXPECT_TRUE(processes.WaitForExit(child.Id(), 0));
}

TEST(ProcessesWineTest, AProgramThatMayNotBeOpenedForMoreThanAQueryIsListedButNotEnded) {
    test::RunningProgram child(test::ProgramFolder() + "\\SleepyChild.exe", test::RunningProgram::Access::Protected);
    ASSERT_TRUE(child.Started()) << child.Path();
    Win32Processes processes;
    ASSERT_TRUE(test::WaitUntilNamed(child, processes)) << "listed by its image path";
    // What the listing used to ask for is refused.
    EXPECT_EQ(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, child.Id()), nullptr);

    EXPECT_FALSE(processes.MayTerminate(child.Id()));
    Win32SystemInfo system;
    Win32FileSystem files;
    EXPECT_EQ(StopRunningProgram(processes, system, files, child.Id(), child.Path()), StopOutcome::NeedsAdministrator);
    EXPECT_FALSE(child.Ended(200));
}

TEST(ProcessesWineTest, DebugPrivilegeCanBeSwitchedOnAndOff) {
    Win32Processes processes;
    EXPECT_TRUE(processes.SetDebugPrivilege(true));
    EXPECT_TRUE(processes.SetDebugPrivilege(false));
}

}  // namespace
}  // namespace bastion::win32
