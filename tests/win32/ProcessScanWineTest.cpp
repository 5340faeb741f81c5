// The process scan against a real running program: a copy of SleepyChild.exe
// under a name of its own, listed in "ExeDefinition.dat". Inside a scan it is
// stopped and reported; outside one the alert decides.
#include <gtest/gtest.h>

#include "RunningProgram.h"
#include "ScanWineContext.h"
#include "common/Text.h"
#include "scan/processes/ProcessScanner.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "ui/DefaultMessages.h"

namespace bastion::win32 {
namespace {

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

    void Scan(ProcessScanCaller caller) {
        ScanContext context = machine.Context();
        scanner.ScanRunningProcesses(context, caller);
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
    test::RunningProgram program(programPath);
    ASSERT_TRUE(program.Started()) << programPath;
    ASSERT_TRUE(test::WaitUntilNamed(program, machine.processes));

    Scan(ProcessScanCaller::Scan);

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
        test::RunningProgram program(programPath);
        ASSERT_TRUE(program.Started()) << programPath;
        ASSERT_TRUE(test::WaitUntilNamed(program, machine.processes));
        Scan(ProcessScanCaller::Shield);
        EXPECT_EQ(alerts, (std::vector<std::string>{name + "/No Company name available for " + name}));
        EXPECT_TRUE(program.Ended(10000));
        EXPECT_TRUE(scanner.NotStopped().empty());
    }

    answer = AlertAnswer::Allow;
    test::RunningProgram program(programPath);
    ASSERT_TRUE(program.Started()) << programPath;
    ASSERT_TRUE(test::WaitUntilNamed(program, machine.processes));
    Scan(ProcessScanCaller::Shield);
    EXPECT_EQ(alerts.size(), 2u);
    EXPECT_FALSE(program.Ended(200));
    EXPECT_EQ(ExclusionFileText(), "\xEF\xBB\xBF" + name + "\r\n");
    EXPECT_TRUE(machine.exclusions.IsExcluded(fileName));
    EXPECT_TRUE(machine.state.ActivityList().Rows().empty());
}

TEST_F(ProcessScanWineTest, AScanStopsTheDetectedProgramWhileASameNamedOneFromAnotherFolderRuns) {
    // A trusted program of the same name, started first, so that a stop by
    // name would meet it first.
    test::ScratchFolder trustedFolder;
    const std::string trustedPath = trustedFolder / fileName;
    ASSERT_TRUE(machine.files.CopyFile(test::ProgramFolder() + "\\MicrosoftCompany.exe", trustedPath, true));
    test::RunningProgram trusted(trustedPath);
    ASSERT_TRUE(trusted.Started());
    ASSERT_TRUE(test::WaitUntilNamed(trusted, machine.processes));
    test::RunningProgram threat(programPath);
    ASSERT_TRUE(threat.Started());
    ASSERT_TRUE(test::WaitUntilNamed(threat, machine.processes));
    machine.WriteDefinitions(datafile::kExeDefinitions, {fileName + "=Test Threat|" + programFolder.Path()});

    Scan(ProcessScanCaller::Scan);

    EXPECT_TRUE(threat.Ended(10000));
    EXPECT_FALSE(trusted.Ended(200));
    EXPECT_EQ(machine.state.counters.itemsFound, 1);
}

}  // namespace
}  // namespace bastion::win32
