#include "scan/processes/ProcessStop.h"

#include <gtest/gtest.h>

#include "scan/processes/ExecutablePaths.h"
#include "scan/processes/ProcessList.h"
#include "support/FakeProcesses.h"
#include "support/FakeSystemInfo.h"

namespace bastion {
namespace {

using testing::FakeProcess;
using testing::TerminateCall;

struct ProcessStopTest : ::testing::Test {
    bool Stop(std::uint32_t id, std::string_view detected) { return StopProcessById(processes, system, id, detected); }

    testing::FakeProcesses processes;
    testing::FakeSystemInfo system;
};

TEST_F(ProcessStopTest, ListsProcessesByTheProgramTheyRunAndFailsAsAWhole) {
    processes.Add(8, "C:\\WINDOWS\\explorer.exe");
    // Runs no program file: left out.
    processes.Add(FakeProcess{4, "System", std::nullopt});
    processes.Add(FakeProcess{12, std::string("C:\\WINDOWS\\NOTEPAD.EXE\0junk", 27), "C:\\WINDOWS\\notepad.exe"});
    // Elevated: seen all the same.
    processes.Add(16, "C:\\Program Files\\Svc\\svc.exe").elevated = true;

    ProcessList list;
    EXPECT_EQ(GetProcessList(processes, list, "", true), 3);
    EXPECT_EQ(list.names, (std::vector<std::string>{"explorer.exe", "notepad.exe", "svc.exe"}));
    EXPECT_EQ(list.ids, (std::vector<std::uint32_t>{8, 12, 16}));
    EXPECT_EQ(list.paths[2], "C:\\Program Files\\Svc\\svc.exe");

    EXPECT_EQ(GetProcessList(processes, list, "", false), 4);
    EXPECT_EQ(list.names[2], "C:\\WINDOWS\\NOTEPAD.EXE");

    EXPECT_EQ(GetProcessList(processes, list, "|NOTEPAD.EXE|", true), 1);
    EXPECT_EQ(list.ids, (std::vector<std::uint32_t>{12}));

    processes.failEnumeration = true;
    EXPECT_EQ(GetProcessList(processes, list, "", true), -1);
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ProcessStopTest, StopsTheDetectedProcessAndNoOtherOfTheSameName) {
    processes.Add(5, "C:\\Other\\spy.exe");
    processes.Add(6, "C:\\Spy\\spy.exe");
    processes.Add(7, "\\SystemRoot\\System32\\svc.exe");
    EXPECT_TRUE(Stop(6, "c:\\spy\\SPY.EXE "));
    EXPECT_EQ(processes.terminateCalls, (std::vector<TerminateCall>{{6, 0}}));
    EXPECT_TRUE(processes.IsRunning(5));
    // Paths compare as the scan normalises them.
    EXPECT_TRUE(Stop(7, "C:\\WINDOWS\\system32\\SVC.EXE"));
    EXPECT_FALSE(processes.IsRunning(7));
}

TEST_F(ProcessStopTest, ADetectedProcessThatEndedCountsAsStoppedAndItsIdsNewOwnerIsLeftAlone) {
    // Ended, and the id taken by another program since.
    processes.Add(5, "C:\\Tools\\editor.exe");
    EXPECT_TRUE(Stop(5, "C:\\Spy\\spy.exe"));
    // Ended, and nothing runs under its id.
    EXPECT_TRUE(Stop(9, "C:\\Spy\\spy.exe"));
    EXPECT_TRUE(processes.terminateCalls.empty());
    EXPECT_TRUE(processes.IsRunning(5));

    // Running, but what it runs can no longer be read: not stopped.
    processes.Add(6, "C:\\Spy\\spy.exe").modulePath.reset();
    EXPECT_FALSE(Stop(6, "C:\\Spy\\spy.exe"));
    EXPECT_TRUE(processes.IsRunning(6));
}

TEST_F(ProcessStopTest, TriesElevenTimesButARefusalForWantOfRightsOnce) {
    processes.Add(5, "C:\\x\\stubborn.exe").failTerminations = 3;
    EXPECT_TRUE(Stop(5, "C:\\x\\stubborn.exe"));
    EXPECT_EQ(processes.terminateCalls.size(), 4u);
    EXPECT_EQ(processes.terminateCalls.back(), (TerminateCall{5, 0}));

    processes.terminateCalls.clear();
    processes.Add(6, "C:\\x\\rock.exe").unkillable = true;
    EXPECT_EQ(StopRunningProgram(processes, system, 6, "C:\\x\\rock.exe"), StopOutcome::Failed);
    EXPECT_EQ(processes.terminateCalls.size(), 11u);

    processes.terminateCalls.clear();
    processes.Add(7, "C:\\Program Files\\Svc\\svc.exe").elevated = true;
    EXPECT_EQ(StopRunningProgram(processes, system, 7, "C:\\Program Files\\Svc\\svc.exe"),
              StopOutcome::NeedsAdministrator);
    EXPECT_EQ(processes.terminateCalls.size(), 1u);
    EXPECT_TRUE(processes.IsRunning(7));
}

TEST_F(ProcessStopTest, TheDebugPrivilegeIsHeldAroundATerminationOnTheNtFamilyOnly) {
    processes.Add(5, "C:\\x\\a.exe");
    using platform::TerminateResult;
    EXPECT_EQ(TerminateProcessById(processes, system, 5, 7), TerminateResult::Terminated);
    EXPECT_EQ(processes.debugPrivilegeCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(processes.terminateCalls, (std::vector<TerminateCall>{{5, 7}}));

    // Without the privilege the program's own account still reaches its
    // processes; nothing is left to disable.
    processes.debugPrivilegeCalls.clear();
    processes.failDebugPrivilege = true;
    processes.Add(6, "C:\\x\\b.exe");
    EXPECT_EQ(TerminateProcessById(processes, system, 6, 0), TerminateResult::Terminated);
    EXPECT_EQ(processes.debugPrivilegeCalls, (std::vector<bool>{true}));

    processes.debugPrivilegeCalls.clear();
    system.UseWindows9x();
    processes.Add(7, "C:\\x\\c.exe");
    EXPECT_EQ(TerminateProcessById(processes, system, 7, 0), TerminateResult::Terminated);
    EXPECT_TRUE(processes.debugPrivilegeCalls.empty());
    EXPECT_EQ(TerminateProcessById(processes, system, 7, 0), TerminateResult::Failed);
}

TEST(NormalizeSystem32PathTest, EverythingUpToTheLastSystem32BecomesTheSystemFolder) {
    const std::string folder = "C:\\WINDOWS\\system32";
    EXPECT_EQ(NormalizeSystem32Path("\\SystemRoot\\System32\\smss.exe", folder), "C:\\WINDOWS\\system32\\smss.exe");
    EXPECT_EQ(NormalizeSystem32Path(" \\??\\C:\\WINDOWS\\SYSTEM32\\drivers\\x.exe ", folder),
              "C:\\WINDOWS\\system32\\drivers\\x.exe");
    EXPECT_EQ(NormalizeSystem32Path("D:\\system32\\old\\system32\\y.exe", folder), "C:\\WINDOWS\\system32\\y.exe");
    EXPECT_EQ(NormalizeSystem32Path("C:\\WINDOWS\\system32.exe", folder), "C:\\WINDOWS\\system32.exe");
    EXPECT_EQ(NormalizeSystem32Path("C:\\Apps\\tool.exe ", folder), "C:\\Apps\\tool.exe ");
}

}  // namespace
}  // namespace bastion
