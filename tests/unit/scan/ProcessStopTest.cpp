#include "scan/processes/ProcessStop.h"

#include <gtest/gtest.h>

#include "scan/processes/ExecutablePaths.h"
#include "scan/processes/ProcessList.h"
#include "scan/processes/WindowsProcesses.h"
#include "support/FakeFileSystem.h"
#include "support/FakeProcesses.h"
#include "support/FakeSystemInfo.h"

namespace bastion {
namespace {

using testing::FakeProcess;
using testing::TerminateCall;

struct ProcessStopTest : ::testing::Test {
    bool Stop(std::uint32_t id, std::string_view detected) {
        return StopProcessById(processes, system, files, id, detected);
    }
    StopOutcome Outcome(std::uint32_t id, std::string_view detected) {
        return StopRunningProgram(processes, system, files, id, detected);
    }

    testing::FakeProcesses processes;
    testing::FakeSystemInfo system;
    testing::FakeFileSystem files;
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
    EXPECT_EQ(Outcome(6, "C:\\x\\rock.exe"), StopOutcome::Failed);
    EXPECT_EQ(processes.terminateCalls.size(), 11u);

    processes.terminateCalls.clear();
    processes.Add(7, "C:\\Program Files\\Svc\\svc.exe").elevated = true;
    EXPECT_EQ(Outcome(7, "C:\\Program Files\\Svc\\svc.exe"), StopOutcome::NeedsAdministrator);
    EXPECT_EQ(processes.terminateCalls.size(), 1u);
    EXPECT_TRUE(processes.IsRunning(7));
}

TEST_F(ProcessStopTest, TheDebugPrivilegeIsHeldWhileTheProcessIsOpenedOnTheNtFamilyOnly) {
    processes.Add(5, "C:\\x\\a.exe");
    EXPECT_TRUE(Stop(5, "C:\\x\\a.exe"));
    EXPECT_EQ(processes.debugPrivilegeCalls, (std::vector<bool>{true, false}));

    // Without the privilege the program's own account still reaches its
    // processes; nothing is left to disable.
    processes.debugPrivilegeCalls.clear();
    processes.failDebugPrivilege = true;
    processes.Add(6, "C:\\x\\b.exe");
    EXPECT_TRUE(Stop(6, "C:\\x\\b.exe"));
    EXPECT_EQ(processes.debugPrivilegeCalls, (std::vector<bool>{true}));

    processes.debugPrivilegeCalls.clear();
    system.UseWindows9x();
    processes.Add(7, "C:\\x\\c.exe");
    EXPECT_TRUE(Stop(7, "C:\\x\\c.exe"));
    EXPECT_TRUE(processes.debugPrivilegeCalls.empty());
}

// An id the detected program held, ended and taken by another program
// between reading what the process runs and ending it, or between two
// attempts: each attempt looks through the handle it ends through.
TEST_F(ProcessStopTest, AProgramThatTookTheIdOfTheDetectedOneIsNeverStopped) {
    const struct {
        const char* when;
        int failedAttemptsBefore;  // terminations of the detected program that fail first
        int swapAfterRead;         // the read of the image path after which the id changes hands
    } cases[] = {{"between the check and the stop", 0, 1}, {"between two attempts", 1, 2}};
    for (const auto& c : cases) {
        processes = {};
        processes.Add(5, "C:\\Spy\\spy.exe").failTerminations = c.failedAttemptsBefore;
        int reads = 0;
        processes.onImagePathRead = [&](std::uint32_t id) {
            if (++reads == c.swapAfterRead) processes.Add(id, "C:\\Tools\\editor.exe");
        };
        EXPECT_TRUE(Stop(5, "C:\\Spy\\spy.exe")) << c.when << ": the detected program no longer runs";
        ASSERT_NE(processes.Find(5), nullptr) << c.when;
        EXPECT_EQ(processes.Find(5)->modulePath, "C:\\Tools\\editor.exe") << c.when;
    }
}

TEST_F(ProcessStopTest, PartsOfWindowsRunOnlyFromTheirOwnFolderAndAreNeverStopped) {
    const struct {
        std::string path;
        bool partOfWindows;
    } cases[] = {
        {"C:\\WINDOWS\\system32\\services.exe", true},
        {"\\SystemRoot\\System32\\smss.exe", true},
        {"C:\\WINDOWS\\SYSTEM32\\CSRSS.EXE", true},
        {"C:\\WINDOWS\\system32\\wininit.exe", true},
        {"C:\\WINDOWS\\system32\\winlogon.exe", true},
        {"C:\\WINDOWS\\system32\\lsass.exe", true},
        {"C:\\WINDOWS\\system32\\svchost.exe", true},
        {"C:\\WINDOWS\\explorer.exe", true},
        {"C:\\WINDOWS\\system32\\explorer.exe", false},
        {"C:\\WINDOWS\\services.exe", false},
        {"C:\\Users\\v\\AppData\\Roaming\\Microsoft\\system32\\svchost.exe", false},
        {"C:\\Program Files\\X\\system32\\lsass.exe", false},
        {"C:\\WINDOWS\\system32\\notepad.exe", false},
    };
    std::uint32_t id = 100;
    for (const auto& c : cases) {
        processes.Add(++id, c.path);
        EXPECT_EQ(Outcome(id, c.path), c.partOfWindows ? StopOutcome::PartOfWindows : StopOutcome::Stopped) << c.path;
        EXPECT_EQ(processes.IsRunning(id), c.partOfWindows) << c.path;
    }
}

TEST(ComparableProgramPathTest, APathIsComparedByWhereItLeadsAndOnlyTheSystemFolderIsTheSystemFolder) {
    testing::FakeFileSystem files;
    files.AddFile("C:\\Program Files\\X\\a.exe");
    files.AddShortName("C:\\Program Files", "PROGRA~1");
    const std::string folder = "C:\\WINDOWS\\system32";
    const struct {
        const char* image;
        const char* compared;
    } cases[] = {
        {"\\SystemRoot\\System32\\smss.exe", "C:\\WINDOWS\\SYSTEM32\\SMSS.EXE"},
        {" \\??\\C:\\WINDOWS\\system32\\drivers\\x.exe ", "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\X.EXE"},
        {"C:\\PROGRA~1\\X\\a.exe", "C:\\PROGRAM FILES\\X\\A.EXE"},
        {"C:\\Apps\\..\\Tools\\t.exe", "C:\\TOOLS\\T.EXE"},
        // A folder called system32 elsewhere is that folder, not the system's.
        {"C:\\Users\\v\\AppData\\Roaming\\Microsoft\\system32\\svchost.exe",
         "C:\\USERS\\V\\APPDATA\\ROAMING\\MICROSOFT\\SYSTEM32\\SVCHOST.EXE"},
        {"D:\\system32\\old\\system32\\y.exe", "D:\\SYSTEM32\\OLD\\SYSTEM32\\Y.EXE"},
    };
    for (const auto& c : cases) EXPECT_EQ(ComparableProgramPath(files, c.image, folder), c.compared) << c.image;
}

}  // namespace
}  // namespace bastion
