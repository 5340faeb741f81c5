// The process scan against a real running program: a copy of SleepyChild.exe
// under a name of its own, listed in "ExeDefinition.dat". Inside a scan it is
// stopped and reported; outside one the alert decides.
#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "scan/ModMemoryItemsInspected.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "ui/DefaultMessages.h"
#include "ui/forms/FrmMain.h"

namespace bastion::win32 {
namespace {

// A running copy of the sleeping helper, ended at the latest when the test
// ends.
class RunningCopy {
public:
    explicit RunningCopy(const std::string& path) {
        std::wstring commandLine = L"\"" + Widen(path) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &info)) {
            process_.Reset(info.hProcess);
            UniqueHandle thread(info.hThread);
            id_ = info.dwProcessId;
        }
    }
    ~RunningCopy() {
        if (process_ && !Ended(0)) {
            ::TerminateProcess(process_.Get(), 1);
            Ended(10000);
        }
    }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    bool Ended(unsigned long waitMs) const { return ::WaitForSingleObject(process_.Get(), waitMs) == WAIT_OBJECT_0; }
    // The scan names processes by their first module, readable once the
    // program's loader has run.
    bool WaitUntilNamed(Win32Processes& processes) const {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (!processes.BaseName(id_).empty()) return true;
            ::Sleep(50);
        }
        return false;
    }

private:
    UniqueHandle process_;
    std::uint32_t id_ = 0;
};

class ProcessScanWineTest : public ::testing::Test {
protected:
    ProcessScanWineTest() : tokens(PathTokens::Resolve(shell)) {
        ui::FillDefaultMessages(messages);
        state.SetPhase("Inspecting memory");
        fileName = test::UniqueName("bastion_threat_") + ".exe";
        programPath = programFolder / fileName;
        files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", programPath, true);
        scanner.SetAlert([this](const std::string& name, const std::string& company) {
            alerts.push_back(name + "/" + company);
            return answer;
        });
    }

    void WriteExeDefinitions(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        ASSERT_TRUE(files.WriteFile(DataFilePath(dataFolder.Path(), datafile::kExeDefinitions), bytes));
    }

    ScanContext Context() {
        return ScanContext{files, codePage, system, dataFolder.Path(), tokens, safety,  exclusions,
                           state, pump,     tables, registry,          shell,  processes};
    }

    Win32FileSystem files;
    Win32Shell shell;
    Win32Registry registry;
    Win32Processes processes;
    Win32SystemInfo system;
    Win32CodePage codePage;
    PathTokens tokens;
    test::ScratchFolder dataFolder;
    test::ScratchFolder programFolder;
    SafetyList safety;
    ExclusionList exclusions;
    DefinitionTables tables;
    ui::FrmMain form;
    ScanState state{form};
    testing::ScriptedEventPump pump;
    testing::ScriptedDialogs dialogs;
    ui::MessageCatalogue messages{testing::TestIdentity()};
    ProcessScanner scanner{dialogs, messages, "Testwall"};
    std::vector<std::string> alerts;
    AlertAnswer answer = AlertAnswer::Stop;
    std::string fileName;
    std::string programPath;
};

TEST_F(ProcessScanWineTest, InAScanTheListedProgramIsStoppedAndReported) {
    // Defined in another folder: the file name alone finds it.
    WriteExeDefinitions({"unrelated.exe=Nothing|[windir]", fileName + "=Test Threat|C:\\Elsewhere"});
    RunningCopy program(programPath);
    ASSERT_TRUE(program.Started()) << programPath;
    ASSERT_TRUE(program.WaitUntilNamed(processes));

    form.cmdScan.SetEnabled(false);
    ScanContext context = Context();
    scanner.ScanRunningProcesses(context);

    EXPECT_TRUE(program.Ended(10000));
    const std::string name = ToUpper(fileName);
    EXPECT_EQ(testing::ScanHarness::Rows(state.ActivityList()),
              (std::vector<std::string>{"Running Application|" + name + " was stopped#3/0"}));
    EXPECT_EQ(state.counters.itemsFound, 1);
    EXPECT_TRUE(alerts.empty());
    EXPECT_GT(state.counters.processesInspected, 2);
}

TEST_F(ProcessScanWineTest, OutsideAScanStopEndsTheProgramAndAllowExcludesIt) {
    WriteExeDefinitions({fileName + "=Test Threat|" + programFolder.Path()});
    const std::string name = ToUpper(fileName);
    {
        RunningCopy program(programPath);
        ASSERT_TRUE(program.Started()) << programPath;
        ASSERT_TRUE(program.WaitUntilNamed(processes));
        ScanContext context = Context();
        scanner.ScanRunningProcesses(context);
        EXPECT_EQ(alerts, (std::vector<std::string>{name + "/No Company name available for " + name}));
        EXPECT_TRUE(program.Ended(10000));
        EXPECT_TRUE(scanner.NotStopped().empty());
    }

    answer = AlertAnswer::Allow;
    RunningCopy program(programPath);
    ASSERT_TRUE(program.Started()) << programPath;
    ASSERT_TRUE(program.WaitUntilNamed(processes));
    ScanContext context = Context();
    scanner.ScanRunningProcesses(context);
    EXPECT_EQ(alerts.size(), 2u);
    EXPECT_FALSE(program.Ended(200));
    EXPECT_EQ(files.ReadFile(DataFilePath(dataFolder.Path(), datafile::kExclusions)), name + "\r\n");
    EXPECT_TRUE(exclusions.IsExcluded(fileName));
    EXPECT_TRUE(state.ActivityList().Rows().empty());
}

}  // namespace
}  // namespace bastion::win32
