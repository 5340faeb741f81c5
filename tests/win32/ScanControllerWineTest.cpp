// The four scan kinds started from the Start button against the real
// machine: a scratch data folder with definitions naming a file and a
// registry key planted for the test, and the report written at the end.
#include <gtest/gtest.h>

#include <algorithm>

#include "ScanWineContext.h"
#include "app/DriveList.h"
#include "app/ResultsPresenter.h"
#include "app/ScanController.h"
#include "common/Text.h"
#include "platform/win32/Win32Clock.h"
#include "removal/RemovalResult.h"
#include "report/ScanReport.h"
#include "scan/ScanEngine.h"
#include "scan/state/DefinitionCounts.h"
#include "scheduler/ScheduledScan.h"
#include "scheduler/Scheduler.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "services/operations/OperationGate.h"
#include "support/FakeBackgroundWork.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"

namespace bastion::win32 {
namespace {

class ScanControllerWineTest : public ::testing::Test {
protected:
    ScanControllerWineTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        keyPath = "Software\\" + test::UniqueName("BastionSpyKey");
        for (std::string_view file : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                      datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                                      datafile::kBlockedCookies}) {
            scan.WriteDefinitions(file, {});
        }
        controller.Hooks().makeReport = [this] {
            const ScanTimes& times = controller.Times();
            MakeReport({scan.files, scan.codePage, scan.dataFolder.Path(), identity, messages, presenter.Results(),
                        times.scheduled, times.removeAutomatically, &automaticRemoval});
        };
        settings.Write(services::settings::kChkScanCookies, "0");
        settings.Write(services::settings::kChkSweepMemory, "0");
    }
    ~ScanControllerWineTest() override {
        scan.registry.DeleteTree(platform::Hive::CurrentUser, keyPath);
        registry.DeleteTree(platform::Hive::CurrentUser, "Software\\VB and VBA Program Settings\\" + settingsName);
    }

    ScanOutcome Start(int kind) {
        CountDefinitions(scan.files, scan.dataFolder.Path(), scan.state);
        form.optScan[kind].SetValue(true);
        return controller.cmdScanNow_Click();
    }
    std::string Report() {
        return scan.files.ReadFile(ReportPath(scan.dataFolder.Path())).value_or("<no report>");
    }

    test::ScanWineContext scan;
    test::ScratchFolder planted;
    Win32Registry registry;
    Win32Clock clock;
    testing::ScriptedDialogs dialogs;
    services::OperationGate operations;
    services::Identity identity = testing::TestIdentity();
    services::MessageCatalogue messages{identity};
    // Settings of a product of its own, so that the test leaves the
    // machine's as they were.
    std::string settingsName = test::UniqueName("BastionWineTest");
    services::SettingsStore settings{registry, settingsName};
    ProcessScanner processScanner{dialogs, messages, identity.productName};
    StoredScanOptions options{settings};
    std::string dataFolder = scan.dataFolder.Path();
    testing::FakeBackgroundWork background;
    const services::Services bundle{scan.Machine(clock), dialogs,  scan.pump,  operations, messages,
                                    identity,            settings, dataFolder, background};
    ScanEngine engine{ScanEnvironment{bundle, scan.safety, scan.exclusions, scan.tables, scan.state, processScanner}};
    ui::FrmMain form;
    ResultsPresenter presenter{form, messages};
    ScanController controller{ScanPageEnvironment{bundle, form, engine, presenter, scan.state},
                              options};
    ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    std::string keyPath;
    RemovalReport automaticRemoval;
};

TEST_F(ScanControllerWineTest, SmartScanFindsThePlantedFileAndKeyAndReportsThem) {
    ASSERT_TRUE(scan.files.WriteFile(planted / "planted.exe", "MZ not much of a program"));
    ASSERT_EQ(scan.registry.CreateKey(platform::Hive::CurrentUser, keyPath), 0);
    scan.WriteDefinitions(datafile::kFileDefinitions, {"planted.exe=Planted File|" + planted.Path() + "|Adware"});
    scan.WriteDefinitions(datafile::kRegistryDefinitions, {"1^" + keyPath + "=Planted Key|Hijacker"});

    EXPECT_EQ(Start(ui::kSmartScan), ScanOutcome::Completed);

    ASSERT_EQ(results.Count(), 2u);
    EXPECT_EQ(results.Item(0).text, "Planted Key");
    EXPECT_EQ(results.Item(1).text, "Planted File");
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
    EXPECT_EQ(form.lblMemoryInspected.Caption(), "Not Selected");
    const std::string report = Report();
    EXPECT_NE(report.find("File: HKEY_CURRENT_USER\\" + keyPath + "\r\n\r\nName: Planted Key\r\n\r\n"
                          "Company: N/A\r\n\r\nType: Registry\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Name: Planted File\r\n\r\nCompany: \r\n\r\nType: File\r\n\r\nSize: 24 bytes\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Total = 2\r\n"), std::string::npos) << report;
    EXPECT_EQ(settings.Read(services::settings::kLblLastScan), controller.Times().finished);
}

TEST_F(ScanControllerWineTest, FileAndFolderScansRunOnTheChosenPathAndReport) {
    ASSERT_TRUE(scan.files.WriteFile(planted / "bastionplantedspyware.exe", "MZ spy"));
    scan.WriteDefinitions(datafile::kFileDefinitions, {"bastionplantedspyware.exe=Long Named Spy|[windir]|Adware"});

    dialogs.AnswerOpenFile(planted / "bastionplantedspyware.exe");
    EXPECT_EQ(Start(ui::kFileScan), ScanOutcome::Completed);
    EXPECT_EQ(form.lblPercentageCompleted.Caption(), "Scanning " + (planted / "bastionplantedspyware.exe") + "...");
    EXPECT_NE(Report().find("[Threats Detected]"), std::string::npos);
    ASSERT_EQ(results.Count(), 1u);
    EXPECT_EQ(results.Item(0).text, "Long Named Spy");

    ASSERT_TRUE(scan.files.CreateFolder(planted / "Inner"));
    ASSERT_TRUE(scan.files.WriteFile(planted / "Inner\\bastionplantedspyware.exe", "MZ spy"));
    dialogs.AnswerBrowseFolder(planted.Path());
    EXPECT_EQ(Start(ui::kFolderScan), ScanOutcome::Completed);
    EXPECT_EQ(results.Count(), 2u) << "the planted file and its copy one folder down";
    EXPECT_EQ(form.lblPercentageCompleted.Caption(), "Scanning " + planted.Path() + "\\...");
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
    EXPECT_NE(Report().find(" Scan Finished at : " + controller.Times().finished), std::string::npos);
}

TEST_F(ScanControllerWineTest, FullSystemScanWalksOnlyTheTickedDrivesFindingHiddenThreatsToo) {
    // The scratch folder lies in the user's temporary folder on C:.
    ASSERT_TRUE(scan.files.WriteFile(planted / "bastionplantedspyware.exe", "MZ spy"));
    // Hidden and system, as AppData and ProgramData are.
    const std::string hiddenFolder = planted / "HiddenFolder";
    ASSERT_TRUE(scan.files.CreateFolder(hiddenFolder));
    ASSERT_TRUE(scan.files.WriteFile(hiddenFolder + "\\bastionhiddenspyware.exe", "MZ spy"));
    ASSERT_TRUE(scan.files.WriteFile(planted / "bastionattribspyware.exe", "MZ spy"));
    ASSERT_TRUE(scan.files.SetAttributes(hiddenFolder, platform::kAttrDirectory | platform::kAttrHidden |
                                                           platform::kAttrSystem));
    ASSERT_TRUE(scan.files.SetAttributes(planted / "bastionattribspyware.exe",
                                         platform::kAttrHidden | platform::kAttrSystem | platform::kAttrReadOnly));
    scan.WriteDefinitions(datafile::kFileDefinitions, {"bastionplantedspyware.exe=Long Named Spy|[windir]|Adware",
                                                       "bastionhiddenspyware.exe=Hidden Spy|[windir]",
                                                       "bastionattribspyware.exe=Attributed Spy|[windir]"});
    FillDriveList(scan.files, form.lvwHardDrives);
    // The system drive only: Wine's Z: is the whole host file system.
    for (std::size_t row = 0; row < form.lvwHardDrives.Count(); ++row) {
        form.lvwHardDrives.SetChecked(row, form.lvwHardDrives.Item(row).text == "C");
    }
    settings.Write(services::settings::kChkScanRegistry, "0");

    EXPECT_EQ(Start(ui::kFullSystemScan), ScanOutcome::Completed);

    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
    std::vector<std::string> found;
    for (const ui::ListItem& row : results.Rows()) found.push_back(row.subItems.at(0));
    std::sort(found.begin(), found.end());
    // Each is named as it is on the disk, in its own case.
    std::vector<std::string> expected{planted / "bastionattribspyware.exe", planted / "bastionplantedspyware.exe",
                                      hiddenFolder + "\\bastionhiddenspyware.exe"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(settings.Read(services::settings::kLblLastFullScan), controller.Times().finished);
    EXPECT_NE(Report().find("=====================End Of Report."), std::string::npos);
}

TEST_F(ScanControllerWineTest, ADailyScheduleSecondsAheadScansOnceUnattendedAndHasItsFindingsRemoved) {
    ASSERT_TRUE(scan.files.WriteFile(planted / "planted.exe", "MZ"));
    scan.WriteDefinitions(datafile::kFileDefinitions, {"planted.exe=Planted File|" + planted.Path() + "|Adware"});
    CountDefinitions(scan.files, scan.dataFolder.Path(), scan.state);
    settings.Write(services::settings::kChkAutoDel, "1");
    dialogs.FailOnUnscriptedQuestion();
    int removals = 0;
    bool unattendedRemoval = false;
    controller.Hooks().removeTicked = [&] {
        ++removals;
        unattendedRemoval = controller.AutoDelete() && controller.Unattended() &&
                            results.Item(0).checked;
        // This removal removes nothing.
        automaticRemoval = {};
    };
    Scheduler scheduler(clock, operations, [this] { controller.RunScheduled(StoredScheduledScan(settings)); });
    const DateTime due = AddSeconds(clock.Now(), 3);
    scheduler.SetSchedule(
        Schedule{true, kScheduleDaily, DateTime{1899, 12, 30, due.hour, due.minute, due.second}, std::nullopt});

    // Ticks, more often than tmrScheduler's once a second, until the scan
    // has run (or a generous limit), and a few more.
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    while (removals == 0 && ::GetTickCount64() < deadline) {
        ::Sleep(200);
        scheduler.CheckSchedule();
    }
    for (int tick = 0; tick < 8; ++tick) {
        ::Sleep(200);
        scheduler.CheckSchedule();
    }

    EXPECT_EQ(removals, 1);
    EXPECT_TRUE(unattendedRemoval);
    EXPECT_TRUE(dialogs.Asked().empty());
    ASSERT_EQ(results.Count(), 1u);
    EXPECT_EQ(results.Item(0).text, "Planted File");
    // It says what the removal did, not what it was asked to do.
    EXPECT_NE(Report().find("Scheduled scan   : 1 of the 1 items found could not be removed automatically"),
              std::string::npos)
        << Report();
    EXPECT_NE(Report().find("Removal: failed"), std::string::npos);
    EXPECT_FALSE(controller.AutoDelete() || controller.Unattended());
}

}  // namespace
}  // namespace bastion::win32
