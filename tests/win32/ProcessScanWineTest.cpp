// The process scan against a real running program: a copy of SleepyChild.exe
// under a name of its own, listed in "ExeDefinition.dat". Inside a scan it is
// stopped and reported; outside one the alert decides.
#include <gtest/gtest.h>

#include <algorithm>

#include "RunningProgram.h"
#include "ScanWineContext.h"
#include "common/Text.h"
#include "scan/processes/ProcessScanner.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"

namespace bastion::win32 {
namespace {

class ProcessScanWineTest : public ::testing::Test {
protected:
    ProcessScanWineTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        machine.state.SetPhase("Inspecting memory");
        fileName = test::UniqueName("bastion_threat_") + ".exe";
        programPath = programFolder / fileName;
        machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", programPath, true);
        scanner.SetAlert([this](const std::string& name, const std::string& company, bool) {
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
    services::MessageCatalogue messages{testing::TestIdentity()};
    ProcessScanner scanner{dialogs, messages, "Testwall"};
    std::vector<std::string> alerts;
    AlertAnswer answer = AlertAnswer::Stop;
    std::string fileName;
    std::string programPath;
};

TEST_F(ProcessScanWineTest, InAScanTheProgramInItsDefinedFolderIsStoppedAndEachRowSaysWhatHappened) {
    // The same name in another folder is someone else's program; a program
    // this one may not open for more than a query stands for an elevated
    // one.
    test::ScratchFolder elsewhere;
    machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", elsewhere / fileName, true);
    const std::string guardedName = test::UniqueName("bastion_guarded_") + ".exe";
    machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", programFolder / guardedName, true);
    machine.WriteDefinitions(datafile::kExeDefinitions,
                             {"unrelated.exe=Nothing|[windir]", fileName + "=Test Threat|" + programFolder.Path(),
                              guardedName + "=Test Threat|" + programFolder.Path()});
    test::RunningProgram program(programPath);
    test::RunningProgram other(elsewhere / fileName);
    test::RunningProgram guarded(programFolder / guardedName, test::RunningProgram::Access::Protected);
    for (const test::RunningProgram* running : {&program, &other, &guarded}) {
        ASSERT_TRUE(running->Started()) << running->Path();
        ASSERT_TRUE(test::WaitUntilNamed(*running, machine.processes)) << running->Path();
    }

    machine.BeginScan();
    Scan(ProcessScanCaller::Scan);

    EXPECT_TRUE(program.Ended(10000));
    EXPECT_FALSE(other.Ended(200));
    EXPECT_FALSE(guarded.Ended(200));
    std::vector<std::string> rows = testing::DescribedActivity(machine.state.Results());
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> expected{"Running Application|" + ToUpper(fileName) + " was stopped#RunningProgram",
                                      "Running Application|" + ToUpper(guardedName) +
                                          " could not be stopped: that needs administrator rights#RunningProgram"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(scanner.NotStopped(), (std::vector<ProgramNotStopped>{{ToUpper(guardedName), true}}));
    EXPECT_EQ(machine.state.counters.itemsFound, 2);
    EXPECT_TRUE(alerts.empty());
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
    EXPECT_TRUE(machine.Activity().empty());
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
