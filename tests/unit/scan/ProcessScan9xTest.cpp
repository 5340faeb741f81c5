#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "scan/processes/ProcessScanner.h"
#include "services/messages/DefaultMessages.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

using testing::FakeProcess;
using testing::ScanHarness;
using Rows = std::vector<std::string>;

// The Windows 95 family: snapshot names (full paths there) compared with the
// names of the definition lines, which are read once per run.
struct ProcessScan9xTest : ::testing::Test {
    ProcessScan9xTest() {
        services::FillDefaultMessages(messages);
        harness.machine.system.UseWindows9x();
        harness.state.SetPhase("Inspecting memory");
        harness.state.definitions = {10, 20, 30, 40, 100};
        harness.WriteDefinitions(datafile::kExeDefinitions, {"evil.exe=Evil|C:\\A", " Bad.exe =Bad|", "x=EVIL2.EXE|"});
        dialogs.FailOnUnscriptedQuestion();
    }

    FakeProcess& Run(std::uint32_t id, const std::string& path) {
        FakeProcess& process = harness.machine.processes.Add(id, path);
        process.exeFile = path;
        return process;
    }
    bool Running(std::uint32_t id) const { return harness.machine.processes.IsRunning(id); }
    void StartScan() {
        caller = ProcessScanCaller::Scan;
        harness.BeginScan();
    }
    void EndScan() { caller = ProcessScanCaller::Shield; }
    void Scan() { scanner.ScanRunningProcesses(context, caller); }
    Rows Activity() const { return harness.Activity(); }
    std::int32_t Inspected() const { return harness.state.counters.processesInspected; }

    ScanHarness harness;
    ScanContext context = harness.Context();
    testing::ScriptedDialogs dialogs;
    services::MessageCatalogue messages{testing::TestIdentity()};
    ProcessScanner scanner{dialogs, messages, "Testwall"};
    ProcessScanCaller caller = ProcessScanCaller::Shield;
};

TEST_F(ProcessScan9xTest, InAScanDefinedProgramsAreStoppedAndTheDefinitionsReadOnce) {
    Run(4, "C:\\WINDOWS\\EXPLORER.EXE");
    Run(8, "C:\\Other\\EVIL.EXE");
    Run(12, "C:\\x\\bad.exe");
    Run(16, "C:\\x\\evil2.exe");  // named only in another line's text
    harness.machine.files.AddFile("C:\\x\\bad.exe", testing::ProgramWithCompany("Sun Microsystems, Inc."));
    StartScan();
    Scan();

    EXPECT_EQ(Activity(), (Rows{"Running Process|EVIL.EXE was stopped#RunningProgram", "Running Process|BAD.EXE was stopped#RunningProgram"}));
    EXPECT_FALSE(Running(8));
    EXPECT_FALSE(Running(12));
    EXPECT_TRUE(Running(16));
    // Ended with the exit code it reported while running.
    EXPECT_EQ(harness.machine.processes.terminateCalls.front().exitCode, testing::FakeProcesses::kStillActive);
    EXPECT_EQ(harness.state.counters.itemsFound, 2);
    EXPECT_EQ(Inspected(), 3 + 4);
    EXPECT_EQ(harness.state.counters.runningPrograms, 4);
    EXPECT_EQ(std::get<ProcessItem>(harness.state.Results().detections.at(1).item),
              (ProcessItem{"C:\\x\\bad.exe", 12, true}));

    // No shortcut for an unchanged list; the held definitions count their
    // lines again, even with the file gone.
    harness.machine.files.DeleteFile(DataFilePath(harness.dataFolder, datafile::kExeDefinitions));
    harness.BeginScan();
    Run(20, "C:\\y\\EVIL.EXE");
    Scan();
    EXPECT_EQ(Activity(), (Rows{"Running Process|EVIL.EXE was stopped#RunningProgram"}));
    EXPECT_EQ(Inspected(), 3 + 3);
    EXPECT_EQ(harness.progress.runningPrograms, 3);
}

TEST_F(ProcessScan9xTest, WithoutExeDefinitionsNothingIsScanned) {
    harness.machine.files.DeleteFile(DataFilePath(harness.dataFolder, datafile::kExeDefinitions));
    Run(8, "C:\\Other\\EVIL.EXE");
    StartScan();
    Scan();
    EXPECT_EQ(Inspected(), 0);
    EXPECT_EQ(harness.state.counters.runningPrograms, 0);
    EXPECT_TRUE(Running(8));
}

TEST_F(ProcessScan9xTest, OutsideAScanTheUserIsAskedYesStopsNoExcludesForLater) {
    Run(8, "C:\\Other\\evil.exe");
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Scan();
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    const testing::AskedDialog& asked = dialogs.Asked()[0];
    EXPECT_EQ(asked.text,
              "Testwall has found [EVIL.EXE] using you system memory. Click YES to stop [EVIL.EXE] from using your "
              "system memory. Otherwise click No.");
    EXPECT_EQ(asked.title, "Testwall  - Alert");
    EXPECT_EQ(asked.buttons, services::MsgButtons::YesNo);
    EXPECT_EQ(asked.icon, services::MsgIcon::Question);
    EXPECT_FALSE(Running(8));
    // The shield moves no scan counter.
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
    EXPECT_TRUE(Activity().empty());

    Run(12, "C:\\x\\BAD.EXE");
    dialogs.AnswerMessageBox(services::MsgResult::No);
    Scan();
    EXPECT_TRUE(Running(12));
    EXPECT_EQ(harness.machine.files.ReadFile(DataFilePath(harness.dataFolder, datafile::kExclusions)),
              "\xEF\xBB\xBF" "BAD.EXE\r\n");
    // The list in memory follows the file at its next load only.
    EXPECT_TRUE(harness.exclusions.Empty());
}

TEST_F(ProcessScan9xTest, ExcludedProgramsShowAndAStoppedReadIsNotKept) {
    harness.exclusions.Assign({"evil.exe"});
    Run(8, "C:\\Other\\EVIL.EXE");
    StartScan();
    harness.state.RequestStop();
    Scan();
    EXPECT_EQ(Inspected(), 1);

    // A shield run between two scans ignores the stop and reads the whole
    // file, and leaves the scan's list and counters alone.
    EndScan();
    Scan();
    EXPECT_TRUE(Activity().empty());
    EXPECT_EQ(Inspected(), 1);
    StartScan();
    harness.state.ClearStop();
    Scan();
    EXPECT_EQ(Activity(), (Rows{"EXCLUDED|EVIL.EXE#Excluded"}));
    EXPECT_EQ(Inspected(), 3 + 1) << "the new scan counts afresh";
    EXPECT_TRUE(Running(8));
}

}  // namespace
}  // namespace bastion
