// The process scan against a real running program: a copy of SleepyChild.exe
// under a name of its own, listed in "ExeDefinition.dat". Inside a scan it is
// stopped and reported; outside one the alert decides.
#include <gtest/gtest.h>

#include "ScanWineContext.h"
#include "common/Text.h"
#include "platform/win32/Handles.h"
#include "scan/ProcessScanner.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "ui/DefaultMessages.h"

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
    ProcessScanWineTest() {
        ui::FillDefaultMessages(messages);
        machine.state.SetPhase("Inspecting memory");
        fileName = test::UniqueName("bastion_threat_") + ".exe";
        programPath = programFolder / fileName;
        machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", programPath, true);
        scanner.SetAlert([this](const std::string& name, const std::string& company) {
            alerts.push_back(name + "/" + company);
            return answer;
        });
    }

    void Scan() {
        ScanContext context = machine.Context();
        scanner.ScanRunningProcesses(context);
    }
    std::string ExclusionFileText() {
        return machine.files.ReadFile(DataFilePath(machine.dataFolder.Path(), datafile::kExclusions)).value_or("");
    }

    test::ScanWineContext machine;
    test::ScratchFolder programFolder;
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
    machine.WriteDefinitions(datafile::kExeDefinitions,
                             {"unrelated.exe=Nothing|[windir]", fileName + "=Test Threat|C:\\Elsewhere"});
    RunningCopy program(programPath);
    ASSERT_TRUE(program.Started()) << programPath;
    ASSERT_TRUE(program.WaitUntilNamed(machine.processes));

    machine.form.cmdScan.SetEnabled(false);
    Scan();

    EXPECT_TRUE(program.Ended(10000));
    const std::string name = ToUpper(fileName);
    EXPECT_EQ(testing::ScanHarness::Rows(machine.state.ActivityList()),
              (std::vector<std::string>{"Running Application|" + name + " was stopped#3/0"}));
    EXPECT_EQ(machine.state.counters.itemsFound, 1);
    EXPECT_TRUE(alerts.empty());
    EXPECT_GT(machine.state.counters.processesInspected, 2);
}

TEST_F(ProcessScanWineTest, OutsideAScanStopEndsTheProgramAndAllowExcludesIt) {
    machine.WriteDefinitions(datafile::kExeDefinitions, {fileName + "=Test Threat|" + programFolder.Path()});
    const std::string name = ToUpper(fileName);
    {
        RunningCopy program(programPath);
        ASSERT_TRUE(program.Started()) << programPath;
        ASSERT_TRUE(program.WaitUntilNamed(machine.processes));
        Scan();
        EXPECT_EQ(alerts, (std::vector<std::string>{name + "/No Company name available for " + name}));
        EXPECT_TRUE(program.Ended(10000));
        EXPECT_TRUE(scanner.NotStopped().empty());
    }

    answer = AlertAnswer::Allow;
    RunningCopy program(programPath);
    ASSERT_TRUE(program.Started()) << programPath;
    ASSERT_TRUE(program.WaitUntilNamed(machine.processes));
    Scan();
    EXPECT_EQ(alerts.size(), 2u);
    EXPECT_FALSE(program.Ended(200));
    EXPECT_EQ(ExclusionFileText(), name + "\r\n");
    EXPECT_TRUE(machine.exclusions.IsExcluded(fileName));
    EXPECT_TRUE(machine.state.ActivityList().Rows().empty());
}

}  // namespace
}  // namespace bastion::win32
