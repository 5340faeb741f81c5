#include "cli/ConsoleScan.h"

#include <gtest/gtest.h>

#include "StringConsole.h"
#include "definitions/DataFiles.h"
#include "report/ScanReport.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"
#include "support/ScanHarness.h"
#include "support/TestIdentity.h"

namespace bastion::cli {
namespace {

struct ConsoleScanTest : ::testing::Test {
    ConsoleScanTest() {
        for (std::string_view file : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                      datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                                      datafile::kBlockedCookies}) {
            harness.WriteDefinitions(file, {});
        }
    }
    void PlantSpyware() {
        harness.machine.files.AddFile("C:\\WINDOWS\\spyware.exe", "MZ spy");
        harness.WriteDefinitions(datafile::kFileDefinitions, {"spyware.exe=Spy Threat|[windir]|Adware"});
    }
    int Run(std::vector<std::string> arguments) {
        ParsedArguments parsed = ParseArguments(arguments);
        EXPECT_TRUE(parsed.Ok()) << parsed.error;
        return RunConsoleScan(parsed.arguments, harness.machine.Bundle(), testing::TestIdentity(), console,
                              interrupted);
    }
    bool ReportWritten() { return harness.machine.files.HasFile(ReportPath(harness.dataFolder)); }
    bool Stored(std::string_view key) {
        platform::RegValue value;
        return harness.machine.registry.QueryValue(platform::Hive::CurrentUser,
                                                   "Software\\VB and VBA Program Settings\\Testwall\\OptionAndSettings",
                                                   std::string(key), value) == 0;
    }

    testing::ScanHarness harness;
    StringConsole console;
    std::atomic<bool> interrupted{false};
};

TEST_F(ConsoleScanTest, AThreatIsListedWithItsRiskTheReportIsWrittenAndTheStatusIsOne) {
    PlantSpyware();
    services::SettingsStore(harness.machine.registry, "Testwall").Write(services::settings::kChkMakeLog, "0");
    EXPECT_EQ(Run({"smart", "--no-registry", "--no-cookies"}), kExitThreatsFound);

    EXPECT_EQ(console.out.find("Spy Threat\tC:\\WINDOWS\\spyware.exe\tAdware\t"), 0u) << console.out;
    EXPECT_NE(console.out.find("\nRegistry entries inspected: Not Selected\n"), std::string::npos) << console.out;
    EXPECT_NE(console.out.find("\nFiles/Folders inspected: 1\nDetections: 1\nScanning complete.\n"),
              std::string::npos)
        << console.out;
    EXPECT_EQ(console.err, "") << "no terminal, no progress line";
    EXPECT_TRUE(ReportWritten());
    EXPECT_FALSE(Stored("chkScanRegistry")) << "options of one run are never stored";
    EXPECT_FALSE(Stored("chkScanCookies"));
}

TEST_F(ConsoleScanTest, ACleanMachineExitsWithZeroAndNoReportWhenAskedNotTo) {
    EXPECT_EQ(Run({"smart", "--no-report"}), kExitNothingFound);
    EXPECT_NE(console.out.find("Detections: 0\nScanning complete.\n"), std::string::npos) << console.out;
    EXPECT_FALSE(ReportWritten());
}

TEST_F(ConsoleScanTest, MissingDefinitionsPrintTheMessageAndExitWithTwo) {
    harness.machine.files.DeleteFile(DataFilePath(harness.dataFolder, datafile::kExeDefinitions));
    EXPECT_EQ(Run({"smart"}), kExitError);
    EXPECT_EQ(console.err, "Definition files are missing or they have been corrupted. Please run Live Update.\n");
    EXPECT_EQ(console.out, "");
}

TEST_F(ConsoleScanTest, AnInterruptStopsTheScanWhichThenCountsAsAnError) {
    PlantSpyware();
    interrupted = true;
    EXPECT_EQ(Run({"smart", "--no-report"}), kExitError);
    EXPECT_NE(console.out.find("Scanning was cancelled.\n"), std::string::npos) << console.out;
}

TEST_F(ConsoleScanTest, ARunningThreatThatCouldNotBeStoppedSaysSoAndExitsWithTwo) {
    harness.WriteDefinitions(datafile::kExeDefinitions, {"launcher.exe=Launcher|[progfil]BadCo"});
    testing::FakeProcesses& processes = harness.machine.processes;
    processes.Add(8, "C:\\Program Files\\BadCo\\launcher.exe");
    // The user's own program of that name elsewhere is no threat.
    processes.Add(12, "D:\\Games\\launcher.exe");
    EXPECT_EQ(Run({"smart", "--no-registry", "--no-cookies", "--no-report"}), kExitThreatsFound);
    EXPECT_NE(console.out.find("Running Application\tLAUNCHER.EXE was stopped\t\t\n"), std::string::npos)
        << console.out;
    EXPECT_TRUE(processes.IsRunning(12));

    processes.Add(8, "C:\\Program Files\\BadCo\\launcher.exe").unkillable = true;
    console = {};
    EXPECT_EQ(Run({"smart", "--no-registry", "--no-cookies", "--no-report"}), kExitError);
    EXPECT_NE(console.out.find("Running Application\tLAUNCHER.EXE could not be stopped\t\t\n"), std::string::npos)
        << console.out;
    EXPECT_EQ(console.err, "bastion-scan: a running threat could not be stopped\n");
    EXPECT_TRUE(processes.IsRunning(12));
}

TEST_F(ConsoleScanTest, APathThatIsNotThereIsAnErrorNotACleanScan) {
    EXPECT_EQ(Run({"folder", "C:\\Nowhere"}), kExitError);
    EXPECT_EQ(console.err, "bastion-scan: no such folder: C:\\Nowhere\n");
    harness.machine.files.AddFolder("C:\\Folder");
    EXPECT_EQ(Run({"file", "C:\\Folder"}), kExitError);
    EXPECT_FALSE(ReportWritten());

    harness.machine.files.AddFile("C:\\Folder\\x.exe");
    EXPECT_EQ(Run({"file", "C:\\Folder\\x.exe", "--progress"}), kExitNothingFound);
    EXPECT_NE(console.err.find("\r"), std::string::npos) << "the progress line, asked for";
}

}  // namespace
}  // namespace bastion::cli
