#include "scan/processes/ProcessScanner.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "definitions/content/ContentDefinitions.h"
#include "platform/Sha256.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

using testing::ScanHarness;
using Rows = std::vector<std::string>;

// The NT family (the fake machine's default): running programs by module
// path, detections stopped in a scan or handed to the alert outside one.
struct ProcessScanTest : ::testing::Test {
    ProcessScanTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        harness.state.SetPhase("Inspecting memory");
        harness.state.definitions = {10, 20, 30, 40, 100};
        harness.WriteDefinitions(datafile::kExeDefinitions,
                                 {"evil.exe=Evil|C:\\A", "bad.exe=Bad|", "sys.exe=Sys|[windir]system32",
                                  "helper.exe=Helper|[progfil]Helper", "no equals sign"});
        scanner.SetAlert([this](const std::string& name, const std::string& company, bool needsAdministrator) {
            alerts.push_back(name + "/" + company + (needsAdministrator ? " (administrator)" : ""));
            return answer;
        });
        dialogs.FailOnUnscriptedQuestion();
    }

    void StartScan() {
        caller = ProcessScanCaller::Scan;
        harness.BeginScan();
    }
    void EndScan() { caller = ProcessScanCaller::Shield; }
    void Scan() { scanner.ScanRunningProcesses(context, caller); }
    Rows Activity() const { return harness.Activity(); }
    testing::FakeProcesses& Processes() { return harness.machine.processes; }
    std::int32_t Inspected() const { return harness.state.counters.processesInspected; }

    ScanHarness harness;
    ScanContext context = harness.Context();
    testing::ScriptedDialogs dialogs;
    services::MessageCatalogue messages{testing::TestIdentity()};
    ProcessScanner scanner{dialogs, messages, "Testwall"};
    std::vector<std::string> alerts;
    AlertAnswer answer = AlertAnswer::Allow;
    ProcessScanCaller caller = ProcessScanCaller::Shield;
};

TEST_F(ProcessScanTest, InAScanProgramsRunningWhereTheirDefinitionSaysAreStoppedAndTheRowSaysWhatHappened) {
    harness.Use64BitWindows();
    Processes().Add(4, "C:\\WINDOWS\\explorer.exe");
    Processes().Add(8, "C:\\A\\evil.exe");
    Processes().Add(10, "D:\\B\\evil.exe");                      // defined in C:\A only
    Processes().Add(12, "C:\\Somewhere\\BAD.EXE");              // defined without a folder
    Processes().Add(16, "C:\\A\\notevil.exe");                  // a name that only ends like one
    Processes().Add(20, "\\SystemRoot\\System32\\sys.exe");
    Processes().Add(22, "C:\\Program Files (x86)\\Helper\\helper.exe");  // the 32-bit twin
    Processes().Add(23, "D:\\Games\\helper.exe");                // the user's own
    Processes().Add(24, "C:\\Helper\\AdwareProcessHelper.exe");
    Processes().Add(26, "C:\\Program Files\\Helper\\helper.exe").elevated = true;
    Processes().Add(28, "C:\\Somewhere\\else\\bad.exe").unkillable = true;
    harness.WriteDefinitions(datafile::kExeDefinitions,
                             {"evil.exe=Evil|C:\\A", "bad.exe=Bad|", "sys.exe=Sys|[windir]system32",
                              "helper.exe=Helper|[progfil]Helper", "AdwareProcessHelper.exe=Helper|"});
    StartScan();
    Scan();

    EXPECT_EQ(Activity(), (Rows{"Running Application|EVIL.EXE was stopped#RunningProgram",
                                "Running Application|BAD.EXE was stopped#RunningProgram",
                                "Running Application|SYS.EXE was stopped#RunningProgram",
                                "Running Application|HELPER.EXE was stopped#RunningProgram",
                                "Running Application|HELPER.EXE could not be stopped: that needs administrator "
                                "rights#RunningProgram",
                                "Running Application|BAD.EXE could not be stopped#RunningProgram"}));
    for (std::uint32_t id : {8u, 12u, 20u, 22u}) EXPECT_FALSE(Processes().IsRunning(id)) << id;
    for (std::uint32_t id : {4u, 10u, 16u, 23u, 24u}) EXPECT_TRUE(Processes().IsRunning(id)) << id;
    EXPECT_EQ(scanner.NotStopped(), (std::vector<ProgramNotStopped>{{"HELPER.EXE", true}, {"BAD.EXE", false}}));
    EXPECT_TRUE(alerts.empty());
    EXPECT_EQ(harness.state.counters.itemsFound, 6);
    // Each found, stopped or not, with the image it was found running.
    ASSERT_EQ(harness.state.Results().detections.size(), 6u);
    const Detection& first = harness.state.Results().detections.front();
    EXPECT_EQ(first.kind, DetectionKind::RunningProgram);
    EXPECT_EQ(first.threat, "EVIL.EXE");
    EXPECT_EQ(std::get<ProcessItem>(first.item), (ProcessItem{"C:\\A\\EVIL.EXE", 8, true}));
    EXPECT_FALSE(std::get<ProcessItem>(harness.state.Results().detections.back().item).stopped);
    // Each definition line and each process, while a scan is in progress.
    EXPECT_EQ(Inspected(), 5 + 11);
    EXPECT_EQ(harness.state.counters.runningPrograms, 11);
    EXPECT_EQ(harness.progress.runningPrograms, 11);
    EXPECT_EQ(harness.progress.firstItem, "Inspecting memory: \r\nevil.exe");
    EXPECT_EQ(harness.progress.firstScanPercent, 5);      // 1 of 20 executable lines
    EXPECT_EQ(harness.progress.firstOverallPercent, 11);  // 10 cookie lines + 1 of 100
}

TEST_F(ProcessScanTest, AnUnchangedProcessListIsInspectedOnceUntilTheSignatureIsReset) {
    Processes().Add(4, "C:\\WINDOWS\\explorer.exe");
    Processes().Add(8, "C:\\A\\evil.exe");
    Scan();
    EXPECT_EQ(alerts, (Rows{"EVIL.EXE/No Company name available for EVIL.EXE"}));

    Scan();
    EXPECT_EQ(alerts.size(), 1u);

    // A scan the user starts inspects whatever the shield saw last.
    scanner.ResetSignature();
    StartScan();
    Scan();
    EXPECT_EQ(Inspected(), 5 + 2);
    EXPECT_EQ(Activity(), (Rows{"EXCLUDED|EVIL.EXE#Excluded"}));

    // A process that starts changes the list.
    EndScan();
    Processes().Add(12, "C:\\x\\bad.exe");
    answer = AlertAnswer::Stop;
    Scan();
    EXPECT_EQ(alerts.back(), "BAD.EXE/No Company name available for BAD.EXE");
    EXPECT_FALSE(Processes().IsRunning(12));

    // Started again under the same name before the next look: the same
    // names, but another process.
    Processes().Add(13, "C:\\x\\bad.exe");
    Scan();
    EXPECT_EQ(alerts.size(), 3u);
    EXPECT_FALSE(Processes().IsRunning(13));
}

TEST_F(ProcessScanTest, APartOfWindowsAStrayDefinitionNamesIsListedButNeverStoppedNorAlerted) {
    harness.WriteDefinitions(datafile::kExeDefinitions, {"services.exe=Not Really|"});
    Processes().Add(4, "C:\\WINDOWS\\system32\\services.exe");
    // The same name in a folder of the user's called system32: no part of
    // Windows.
    Processes().Add(8, "C:\\Users\\v\\AppData\\Roaming\\Microsoft\\system32\\services.exe");
    answer = AlertAnswer::Stop;
    Scan();
    EXPECT_EQ(alerts, (Rows{"SERVICES.EXE/No Company name available for SERVICES.EXE"}));
    EXPECT_FALSE(Processes().IsRunning(8));

    Processes().Add(9, "C:\\Users\\v\\AppData\\Roaming\\Microsoft\\system32\\services.exe");
    StartScan();
    Scan();
    EXPECT_EQ(Activity(), (Rows{"Running Application|SERVICES.EXE: a part of Windows; not stopped#RunningProgram",
                                "Running Application|SERVICES.EXE was stopped#RunningProgram"}));
    EXPECT_TRUE(Processes().IsRunning(4));
    EXPECT_TRUE(scanner.NotStopped().empty()) << "nothing to offer an administrator's run for";
    EXPECT_EQ(Processes().terminateCalls, (std::vector<testing::TerminateCall>{{8, 0}, {9, 0}}));
}

TEST_F(ProcessScanTest, TrustedPublishersAreNeverReported) {
    auto& files = harness.machine.files;
    files.AddFile("C:\\A\\evil.exe", testing::ProgramWithCompany("  microsoft CORPORATION "));
    files.AddFile("C:\\WINDOWS\\system32\\sys.exe", testing::ProgramWithCompany("Microsoft Corporation"));
    files.AddFile("C:\\x\\bad.exe", testing::ProgramWithCompany("sun microsystems, inc."));
    files.AddFile("C:\\Program Files\\Helper\\helper.exe", testing::ProgramWithCompany("Microsoft Corp"));
    Processes().Add(8, "C:\\A\\evil.exe");
    // Read from the system folder, not from the form the system reports.
    Processes().Add(12, "\\SystemRoot\\System32\\sys.exe");
    Processes().Add(16, "C:\\x\\bad.exe");
    Processes().Add(20, "C:\\Program Files\\Helper\\helper.exe");
    Scan();
    EXPECT_EQ(alerts, (Rows{"HELPER.EXE/Microsoft Corp"}));
}

TEST_F(ProcessScanTest, AnExcludedProgramIsNeverStoppedAndShowsInScansOnly) {
    harness.exclusions.Assign({"Evil.exe"});
    Processes().Add(8, "C:\\A\\evil.exe");
    Scan();
    EXPECT_TRUE(Activity().empty()) << "the shield leaves the last scan's list alone";
    Processes().Add(4, "C:\\WINDOWS\\explorer.exe");
    StartScan();
    Scan();
    EXPECT_EQ(Activity(), (Rows{"EXCLUDED|EVIL.EXE#Excluded"}));
    EXPECT_TRUE(alerts.empty());
    EXPECT_TRUE(Processes().terminateCalls.empty());
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
}

TEST_F(ProcessScanTest, AStoppedScanDoesNotBlindTheShield) {
    Processes().Add(8, "C:\\A\\evil.exe");
    StartScan();
    harness.state.RequestStop();
    Scan();
    EXPECT_EQ(Inspected(), 2);  // one line, one process, then the stop
    EXPECT_TRUE(Activity().empty());
    EXPECT_TRUE(Processes().IsRunning(8));

    // The flag stays set until the next scan starts; the shield still
    // inspects the same list, which the stopped scan did not.
    EndScan();
    answer = AlertAnswer::Stop;
    Scan();
    EXPECT_EQ(alerts.size(), 1u);
    EXPECT_FALSE(Processes().IsRunning(8));
}

TEST_F(ProcessScanTest, AProgramIsFoundByTheContentOfItsFileWhateverItIsCalled) {
    auto& files = harness.machine.files;
    const std::string image = testing::ProgramWithCompany("Microsoft Corporation") + "dropper";
    const std::string key = std::to_string(image.size()) + ":" + Sha256Hex(platform::Sha256Of(image));
    harness.WriteDefinitions(datafile::kContentDefinitions, {key + "=Dropper|Trojan"});
    files.AddFile("C:\\Users\\me\\invoice.exe", image);
    files.AddFile("C:\\Users\\me\\safe.exe", image);
    std::string other = image;
    other.back() = '?';
    files.AddFile("C:\\Users\\me\\other.exe", other);
    harness.safety.Assign({"C:\\Users\\me\\safe.exe"});
    Processes().Add(8, "C:\\Users\\me\\invoice.exe");
    Processes().Add(9, "C:\\Users\\me\\safe.exe");
    Processes().Add(10, "C:\\Users\\me\\other.exe");
    // A scan stopped while it loaded leaves nothing half loaded behind.
    StartScan();
    harness.state.RequestStop();
    Scan();
    EXPECT_TRUE(Processes().IsRunning(8));

    // The shield asks about it (its publisher's name clears no content);
    // the protected copy and another content of the same size run on.
    EndScan();
    answer = AlertAnswer::NoAnswer;
    Scan();
    EXPECT_EQ(alerts, (Rows{"INVOICE.EXE/Microsoft Corporation"}));
    harness.state.ClearStop();
    StartScan();
    scanner.ResetSignature();
    Scan();
    EXPECT_EQ(Activity(), (Rows{"Running Application|INVOICE.EXE was stopped#RunningProgram"}));
    EXPECT_FALSE(Processes().IsRunning(8));
    EXPECT_TRUE(Processes().IsRunning(9));
    EXPECT_TRUE(Processes().IsRunning(10));
}

TEST_F(ProcessScanTest, TheAlertsAnswersStopOrExcludeTheProgram) {
    harness.machine.files.AddFile("C:\\x\\bad.exe", testing::ProgramWithCompany("Bad Ware Inc."));
    Processes().Add(8, "C:\\x\\bad.exe");
    Processes().Add(12, "C:\\A\\evil.exe").unkillable = true;
    Processes().Add(14, "C:\\Program Files\\Helper\\helper.exe").elevated = true;
    // Closed without an answer: nothing stopped, nothing excluded.
    answer = AlertAnswer::NoAnswer;
    Scan();
    EXPECT_EQ(alerts.size(), 3u);
    EXPECT_TRUE(Processes().terminateCalls.empty());
    EXPECT_FALSE(harness.machine.files.HasFile(DataFilePath(harness.dataFolder, datafile::kExclusions)));

    alerts.clear();
    answer = AlertAnswer::Stop;
    scanner.ResetSignature();
    Scan();
    EXPECT_EQ(alerts, (Rows{"BAD.EXE/Bad Ware Inc.", "EVIL.EXE/No Company name available for EVIL.EXE",
                            "HELPER.EXE/No Company name available for HELPER.EXE (administrator)"}));
    EXPECT_FALSE(Processes().IsRunning(8));
    EXPECT_EQ(scanner.NotStopped(), (std::vector<ProgramNotStopped>{{"EVIL.EXE", false}, {"HELPER.EXE", true}}));
    // Outside a scan no scan counter moves and no row is added.
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
    EXPECT_EQ(harness.state.counters.processesInspected, 0);
    EXPECT_TRUE(Activity().empty());
    EXPECT_EQ(harness.state.counters.runningPrograms, 0);

    answer = AlertAnswer::Allow;
    scanner.ResetSignature();
    Scan();
    EXPECT_TRUE(scanner.NotStopped().empty());
    EXPECT_TRUE(Processes().IsRunning(12));
    EXPECT_TRUE(Processes().IsRunning(14));
    EXPECT_EQ(harness.machine.files.ReadFile(DataFilePath(harness.dataFolder, datafile::kExclusions)),
              "\xEF\xBB\xBF" "EVIL.EXE\r\nHELPER.EXE\r\n");
    EXPECT_TRUE(harness.exclusions.IsExcluded("evil.exe"));

    // Without an alert window nothing outside a scan is stopped.
    scanner.SetAlert(nullptr);
    Processes().Add(16, "C:\\x\\bad.exe");
    Scan();
    EXPECT_TRUE(Processes().IsRunning(16));
    EXPECT_EQ(alerts.size(), 5u);
}

TEST_F(ProcessScanTest, NothingIsScannedOutsideTheTwoFamiliesAndUnreadableProcessesAreSkipped) {
    Processes().Add(8, "C:\\A\\evil.exe").modulePath.reset();
    StartScan();
    Scan();
    EXPECT_EQ(Inspected(), 5);
    EXPECT_TRUE(alerts.empty());

    harness.machine.system.osVersion.platformId = 3;
    Processes().Add(12, "C:\\x\\bad.exe");
    Scan();
    EXPECT_EQ(Inspected(), 5);
    EXPECT_TRUE(alerts.empty());
}

TEST_F(ProcessScanTest, TheShieldHashesAnImageOnceAndOnAWorkerAndNeverOneTheUserAllowed) {
    auto& files = harness.machine.files;
    const std::string image(3 * platform::kContentHashPiece, 'I');
    const std::string sameSize(image.size(), 'O');
    harness.WriteDefinitions(datafile::kContentDefinitions, {std::to_string(image.size()) + ":" +
                                                             Sha256Hex(platform::Sha256Of(image)) + "=Big|Trojan"});
    files.AddFile("C:\\Apps\\big.exe", image);
    files.AddFile("C:\\Apps\\same.exe", sameSize);
    files.AddFile("C:\\Apps\\allowed.exe", image);
    harness.exclusions.Assign({"allowed.exe"});
    Processes().Add(8, "C:\\Apps\\big.exe");
    Processes().Add(9, "C:\\Apps\\same.exe");
    Processes().Add(10, "C:\\Apps\\allowed.exe");
    answer = AlertAnswer::NoAnswer;

    // The hashes run on workers while the program goes on; the next tick
    // learns their end, though no program started or ended.
    files.pendingHashesHeld = true;
    Scan();
    EXPECT_TRUE(alerts.empty());
    EXPECT_EQ(files.WorkerHashes(), 2u) << "the image of the program the user allowed is not read";
    files.pendingHashesHeld = false;
    Scan();
    EXPECT_EQ(alerts, Rows{"BIG.EXE/No Company name available for BIG.EXE"});

    // Programs start and end: the images stay as they were and are not
    // read again, by the shield or a scan (which reads the allowed one to
    // show it excluded).
    Processes().Add(11, "C:\\WINDOWS\\notepad.exe");
    Scan();
    EXPECT_EQ(alerts.size(), 2u);
    StartScan();
    scanner.ResetSignature();
    Scan();
    EXPECT_EQ(Activity(), (Rows{"Running Application|BIG.EXE was stopped#RunningProgram", "EXCLUDED|ALLOWED.EXE#Excluded"}));
    EXPECT_EQ(files.ContentHashes(), 3u);
    // An image written anew is read again.
    EndScan();
    files.WriteFile("C:\\Apps\\same.exe", sameSize);
    Processes().Add(12, "C:\\WINDOWS\\notepad.exe");
    Scan();
    EXPECT_EQ(files.ContentHashes(), 4u);
}

TEST_F(ProcessScanTest, AnExecutableListThatFailsPartWayLeavesTheShieldWithWhatItKeptBefore) {
    Processes().Add(8, "C:\\A\\evil.exe");
    answer = AlertAnswer::NoAnswer;
    Scan();
    ASSERT_EQ(alerts.size(), 1u);

    // An update brings a longer list, and reading it fails part-way.
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("filler" + std::to_string(i) + ".exe=Filler|C:\\F");
    lines.push_back("evil.exe=Evil|C:\\A");
    lines.push_back("late.exe=Late|C:\\L");
    harness.WriteDefinitions(datafile::kExeDefinitions, lines);
    harness.machine.files.FailReadsAfter(DataFilePath(harness.dataFolder, datafile::kExeDefinitions), 1000);
    Processes().Add(9, "C:\\L\\late.exe");
    Scan();
    EXPECT_EQ(alerts, (Rows{"EVIL.EXE/No Company name available for EVIL.EXE",
                            "EVIL.EXE/No Company name available for EVIL.EXE"}));

    // Read again at the next look, though no program started or ended.
    harness.machine.files.ClearFailures();
    Scan();
    EXPECT_EQ(alerts.size(), 4u);
    EXPECT_EQ(alerts.back(), "LATE.EXE/No Company name available for LATE.EXE");
}

}  // namespace
}  // namespace bastion
