#include "app/ScanController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ControllerHarness.h"
#include "app/DriveList.h"
#include "scan/state/DefinitionCounts.h"
#include "services/settings/SettingKeys.h"

namespace bastion {
namespace {

using testing::ControllerHarness;
using Strings = std::vector<std::string>;
namespace keys = services::settings;

struct ScanControllerTest : ::testing::Test, ControllerHarness {
    // One file definition whose file is on the disk.
    void PlantSpyware() {
        scan.machine.files.AddFile("C:\\WINDOWS\\spyware.exe", "MZ spy");
        scan.WriteDefinitions(datafile::kFileDefinitions, {"spyware.exe=Spy Threat|[windir]|Adware"});
    }
    void CountLines() { CountDefinitions(scan.machine.files, scan.dataFolder, state); }
    static Strings Texts(const ui::ListView& list) {
        Strings texts;
        for (const ui::ListItem& row : list.Rows()) texts.push_back(row.text);
        return texts;
    }
};

TEST_F(ScanControllerTest, ASmartScanDisablesTheNavigationWhileItRunsAndClosesWithEverythingShown) {
    PlantSpyware();
    WriteCompleteSet();
    scan.machine.files.WriteFile(DataFilePath(scan.dataFolder, datafile::kDefinitionDate), "5/1/2008 3:04:05 PM\r\n");
    CountLines();
    form.tmrTimeOut.SetEnabled(false);
    // The option page's "Complete System Scan" does not make this scan one.
    form.optScanAllSelectedHardDrive.SetValue(true);
    const std::string started = Now();

    struct During {
        bool seen = false, scanEnabled = true, startEnabled = true, removeEnabled = true, stopEnabled = false,
             pauseEnabled = false, scrollEnabled = true;
    } during;
    scan.pump.Always([&] {
        if (during.seen) return;
        during = {true,
                  form.cmdScan.Enabled(),
                  form.cmdScanNow.Enabled(),
                  form.cmdRemove.Enabled(),
                  form.cmdStop.Enabled(),
                  form.cmdPause.Enabled(),
                  form.tmrScroll.Enabled()};
        scan.machine.clock.Advance(65);
    });

    EXPECT_EQ(Start(), ScanOutcome::Completed);

    ASSERT_TRUE(during.seen);
    EXPECT_FALSE(during.scanEnabled);
    EXPECT_FALSE(during.startEnabled);
    EXPECT_FALSE(during.removeEnabled);
    EXPECT_TRUE(during.stopEnabled);
    EXPECT_TRUE(during.pauseEnabled);
    EXPECT_FALSE(during.scrollEnabled);
    for (ui::Control* enabled : std::initializer_list<ui::Control*>{
             &form.cmdScan, &form.cmdScanNow, &form.cmdLog, &form.cmdUpdate, &form.cmdStatus, &form.cmdRemove,
             &form.cmdResults, &form.cmdSettings, &form.tmrTimeOut}) {
        EXPECT_TRUE(enabled->Enabled()) << enabled->Name();
    }
    EXPECT_FALSE(form.cmdStop.Enabled());
    EXPECT_FALSE(form.cmdPause.Enabled());
    EXPECT_EQ(calls, (Strings{"clear problems", "timers off", "timers on", "report"}));

    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
    EXPECT_EQ(form.pb1.Value(), 100);
    EXPECT_EQ(form.pb2.Value(), 100);
    // Fewer than 25 progress reports: only the closing refresh shows them.
    EXPECT_EQ(form.lblFilesFolderInspected.Caption(), "1");
    EXPECT_EQ(form.lblSoftwareFound.Caption(), "1");

    EXPECT_EQ(controller.Times().started, started);
    EXPECT_EQ(controller.Times().finished, Now());
    EXPECT_NE(controller.Times().finished, started);
    EXPECT_EQ(Setting(keys::kLblLastScan), Now());
    EXPECT_EQ(Setting(keys::kLblLastFullScan), "Never");
    EXPECT_EQ(form.lblLastScan.Caption(), Now());
    EXPECT_EQ(form.lblDefVersion.Caption(), "5/1/2008 3:04:05 PM PST");

    const ui::ListView& results = Results();
    ASSERT_EQ(results.Count(), 1u);
    EXPECT_EQ(results.Item(0).smallIcon, ui::kIconFile);
    EXPECT_EQ(results.SubItem(0, 3), "Medium/High") << "risk filled from the threat type";
    EXPECT_EQ(presenter.Results().detections.at(0).id, results.Item(0).id);
}

TEST_F(ScanControllerTest, SwitchedOffScansShowNotSelectedToTheEndAndTheScanGoesOn) {
    PlantSpyware();
    WriteCompleteSet();
    CountLines();
    settings.Write(keys::kChkScanRegistry, "False");
    settings.Write(keys::kChkSweepMemory, "0");
    settings.Write(keys::kChkMakeLog, "0");

    EXPECT_EQ(Start(), ScanOutcome::Completed);

    EXPECT_EQ(form.lblRegistryInspected.Caption(), "Not Selected");
    EXPECT_EQ(form.lblMemoryInspected.Caption(), "Not Selected");
    EXPECT_EQ(form.lblFilesFolderInspected.Caption(), "1");
    EXPECT_EQ(Results().Count(), 1u);
    EXPECT_EQ(calls, (Strings{"clear problems", "timers off", "timers on"})) << "no report with chkMakeLog 0";

    // The next scan with both on shows numbers again.
    settings.Write(keys::kChkScanRegistry, "1");
    settings.Write(keys::kChkSweepMemory, "True");
    Start();
    EXPECT_EQ(form.lblRegistryInspected.Caption(), "0");
    EXPECT_EQ(form.lblMemoryInspected.Caption(), "0");
}

TEST_F(ScanControllerTest, AnIncompleteDefinitionSetIsResetAndReportedAndTheScanStillCloses) {
    WriteCompleteSet();
    scan.machine.files.DeleteFile(DataFilePath(scan.dataFolder, datafile::kFileDefinitions));
    scan.machine.files.WriteFile(DataFilePath(scan.dataFolder, datafile::kDefinitionDate), "5/1/2008\r\n");

    EXPECT_EQ(Start(), ScanOutcome::DefinitionsMissing);

    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text,
              "Definition files are missing or they have been corrupted. Please run Live Update.");
    EXPECT_EQ(dialogs.Asked()[0].title, "Testwall");
    EXPECT_EQ(dialogs.Asked()[0].icon, services::MsgIcon::Information);
    EXPECT_EQ(form.lblDefVersion.Caption(), "Files Missing, Run Live Update");
    // The files that exist stay; only the date goes.
    EXPECT_TRUE(scan.machine.files.HasFile(DataFilePath(scan.dataFolder, datafile::kRegistryDefinitions)));
    EXPECT_FALSE(scan.machine.files.HasFile(DataFilePath(scan.dataFolder, datafile::kDefinitionDate)));
    // The closing steps run as after any scan.
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
    EXPECT_EQ(Setting(keys::kLblLastScan), Now());
    EXPECT_TRUE(form.cmdScanNow.Enabled());
    EXPECT_EQ(calls.back(), "report");
}

TEST_F(ScanControllerTest, ADefinitionFileWhoseReadFailsPartWayLoadsNothingAndTheScanSaysSo) {
    WriteCompleteSet();
    auto& files = scan.machine.files;
    files.AddFolder("C:\\Spy");
    constexpr int kLines = 3000;  // more than one piece of the reader
    const std::vector<std::pair<std::string_view, std::function<std::string(int)>>> definitionFiles{
        {datafile::kFileDefinitions, [](int i) { return "spy" + std::to_string(i) + ".exe=Spy|[windir]|Adware"; }},
        {datafile::kDirectoryDefinitions,
         [](int i) { return "Spy" + std::to_string(i) + "=Spy|[progfil]Spy" + std::to_string(i) + "|Adware"; }},
        {datafile::kContentDefinitions,
         [](int i) {
             return std::to_string(100 + i) + ":" + std::string(63, 'a') + std::to_string(i % 10) + "=Spy|T";
         }},
    };
    for (const auto& [file, line] : definitionFiles) {
        SCOPED_TRACE(file);
        std::vector<std::string> lines;
        for (int i = 0; i < kLines; ++i) lines.push_back(line(i));
        scan.WriteDefinitions(file, lines);
        files.FailReadsAfter(DataFilePath(scan.dataFolder, file), 70'000);
        dialogs.AnswerBrowseFolder("C:\\Spy");

        EXPECT_EQ(Start(ui::kFolderScan), ScanOutcome::DefinitionsUnreadable);
        ASSERT_FALSE(dialogs.Asked().empty());
        EXPECT_EQ(dialogs.Asked().back().text, "The definitions could not be read, so nothing was scanned. Please "
                                               "try again; if this keeps happening, run Live Update.");
        EXPECT_EQ(form.lblStatus.Caption(), dialogs.Asked().back().text);
        // No part of the tables stays for the rest of the run.
        EXPECT_FALSE(scan.tables.Created());
        EXPECT_FALSE(scan.tables.ContentLoaded());

        files.ClearFailures();
        dialogs.AnswerBrowseFolder("C:\\Spy");
        EXPECT_EQ(Start(ui::kFolderScan), ScanOutcome::Completed);
        const std::size_t loaded = file == datafile::kFileDefinitions        ? scan.tables.Files().Size()
                                   : file == datafile::kDirectoryDefinitions ? scan.tables.Directories().Size()
                                                                             : scan.tables.Content().Size();
        EXPECT_EQ(loaded, static_cast<std::size_t>(kLines));
        scan.tables.Discard();
    }
    // The Smart Scan reads the content definitions too.
    files.FailReadsAfter(DataFilePath(scan.dataFolder, datafile::kContentDefinitions), 70'000);
    EXPECT_EQ(Start(), ScanOutcome::DefinitionsUnreadable);
}

TEST_F(ScanControllerTest, AStoppedScanIsCancelledAndTheNextStartsAfreshWithEmptyListsAndCounters) {
    PlantSpyware();
    scan.machine.files.AddFile("C:\\WINDOWS\\second.exe");
    scan.WriteDefinitions(datafile::kFileDefinitions,
                          {"spyware.exe=Spy Threat|[windir]|Adware", "second.exe=Second|[windir]|Adware"});
    WriteCompleteSet();
    CountLines();
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    scan.pump.At(1, [&] { controller.cmdStop_Click(); });

    EXPECT_EQ(Start(), ScanOutcome::Cancelled);
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning was cancelled.");
    EXPECT_EQ(form.lblPercentageCompleted.Caption(), "0% Completed.");
    EXPECT_EQ(Setting(keys::kLblLastScan), Now()) << "the scan date is stored all the same";
    EXPECT_EQ(Results().Count(), 1u) << "the scan ended at the stop";
    EXPECT_TRUE(state.StopRequested()) << "the flag stays set until the next scan";

    scan.machine.files.DeleteFile("C:\\WINDOWS\\spyware.exe");
    form.lblStatus.SetCaption("stale");
    EXPECT_EQ(Start(), ScanOutcome::Completed);
    EXPECT_EQ(Texts(Results()), (Strings{"Second"}));
    EXPECT_EQ(form.lvwSpywareFound.Count(), 1u);
    EXPECT_EQ(presenter.Results().detections.size(), 1u);
    EXPECT_EQ(presenter.Results().counters.filesInspected, 2);
    EXPECT_EQ(form.lblFilesFolderInspected.Caption(), "2");
    EXPECT_EQ(form.lblSoftwareFound.Caption(), "1");
    EXPECT_EQ(form.lbltracesFound.Caption(), "1");
}

TEST_F(ScanControllerTest, StopDuringTheRegistryPhaseSkipsTheKnownLocationsButStoresTheScanDate) {
    PlantSpyware();
    scan.machine.registry.AddKey(platform::Hive::CurrentUser, "Software\\SpyCo");
    scan.WriteDefinitions(datafile::kRegistryDefinitions,
                          {"1^Software\\SpyCo=SpyCo Key", "1^Software\\Other=Other", "1^Software\\Third=Third"});
    WriteCompleteSet();
    CountLines();
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Strings phases;
    scan.pump.Always([&] {
        if (phases.empty() || phases.back() != state.PhaseCaption()) phases.push_back(state.PhaseCaption());
        if (state.PhaseCaption() == "Scanning registry: " && state.counters.registryInspected == 1) {
            controller.cmdStop_Click();
        }
    });

    EXPECT_EQ(Start(), ScanOutcome::Cancelled);

    EXPECT_EQ(phases, (Strings{"Scanning registry: "}));
    EXPECT_EQ(presenter.Results().counters.filesInspected, 0) << "no known-location scan after the stop";
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning was cancelled.");
    EXPECT_EQ(form.pbgMain.Value(), 0);
    EXPECT_EQ(Setting(keys::kLblLastScan), Now());
    EXPECT_EQ(Results().Count(), 1u);
    EXPECT_EQ(Results().Item(0).smallIcon, ui::kIconRegistry);
}

TEST_F(ScanControllerTest, AScanInspectsTheRunningProgramsEvenWhenTheShieldJustLookedAtThem) {
    WriteCompleteSet();
    scan.WriteDefinitions(datafile::kExeDefinitions, {"evil.exe=Evil|C:\\Spy"});
    scan.machine.processes.Add(100, "C:\\Apps\\notepad.exe");
    CountLines();
    // The memory shield's tick, outside any scan: it records the list.
    ScanContext shieldContext = scan.Context();
    processScanner.ScanRunningProcesses(shieldContext, ProcessScanCaller::Shield);
    ASSERT_EQ(state.counters.processesInspected, 0);

    Start();
    EXPECT_EQ(presenter.Results().counters.processesInspected, 2) << "one definition line and one process";
    EXPECT_EQ(form.lblMemoryInspected.Caption(), "2");
}

TEST_F(ScanControllerTest, ACancelledFileDialogRunsNothingButTheClosingSteps) {
    dialogs.AnswerOpenFile(std::nullopt);
    dialogs.FailOnUnscriptedQuestion();

    EXPECT_EQ(Start(ui::kFileScan), ScanOutcome::NothingChosen);

    EXPECT_EQ(dialogs.Asked().size(), 1u) << "no definition check after a cancelled dialog";
    EXPECT_FALSE(scan.tables.Created());
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
    EXPECT_EQ(Setting(keys::kLblLastScan), Now());
    EXPECT_EQ(calls, (Strings{"clear problems", "timers off", "timers on", "report"}));
}

TEST_F(ScanControllerTest, AFolderScanLoadsTheTablesAndNamesTheFolderWithABackslash) {
    WriteCompleteSet();
    scan.machine.files.AddFolder("C:\\Spy");
    dialogs.AnswerBrowseFolder("C:\\Spy");

    EXPECT_EQ(Start(ui::kFolderScan), ScanOutcome::Completed);
    EXPECT_TRUE(scan.tables.Created());
    EXPECT_EQ(form.lblPercentageCompleted.Caption(), "Scanning C:\\Spy\\...");
    EXPECT_EQ(state.PhaseCaption(), "Scanning C:\\Spy\\...: ");
}

TEST_F(ScanControllerTest, AFullScanFromTheHomePageDatesTheFullScanWhateverTheOptionPageSays) {
    WriteCompleteSet();
    form.optScanOnlyKnownSoftwares.SetValue(true);

    EXPECT_EQ(controller.StartScanOfKind(ui::kFullSystemScan), ScanOutcome::Completed);

    EXPECT_TRUE(form.optScan[ui::kFullSystemScan].Value());
    EXPECT_EQ(calls.front(), "scan page");
    EXPECT_EQ(Setting(keys::kLblLastFullScan), Now());
    EXPECT_EQ(form.lblLastFullScan.Caption(), Now());
}

TEST_F(ScanControllerTest, AFullSystemScanWalksOnlyTheTickedDrives) {
    WriteCompleteSet();
    scan.WriteDefinitions(datafile::kFileDefinitions, {"plantedspywarefile.exe=Planted Threat|c:\\x\\|Adware"});
    for (const char* letter : {"D", "E"}) {
        scan.machine.files.AddDrive(letter, platform::DriveType::Fixed);
        scan.machine.files.AddFile(std::string(letter) + ":\\Tools\\plantedspywarefile.exe", "MZ");
    }
    FillDriveList(scan.machine.files, form.lvwHardDrives);
    for (std::size_t row = 0; row < form.lvwHardDrives.Count(); ++row) {
        form.lvwHardDrives.SetChecked(row, form.lvwHardDrives.Item(row).text == "E");
    }

    EXPECT_EQ(Start(ui::kFullSystemScan), ScanOutcome::Completed);

    Strings locations;
    for (const ui::ListItem& row : Results().Rows()) locations.push_back(row.subItems.at(0));
    EXPECT_EQ(locations, Strings{"E:\\Tools\\plantedspywarefile.exe"}) << "the unticked drive D is not walked";
}

TEST_F(ScanControllerTest, AFullSystemScanWalksADriveAttachedSinceTheListWasFilledAndKeepsEveryTick) {
    WriteCompleteSet();
    scan.WriteDefinitions(datafile::kFileDefinitions, {"plantedspywarefile.exe=Planted Threat|c:\\x\\|Adware"});
    scan.machine.files.AddDrive("D", platform::DriveType::Fixed);
    FillDriveList(scan.machine.files, form.lvwHardDrives);
    form.lvwHardDrives.SetChecked(0, true);   // C
    form.lvwHardDrives.SetChecked(1, false);  // D, unticked by the user
    // Attached after start: a stick, and a disk whose tick was stored off.
    for (const char* letter : {"E", "F"}) {
        scan.machine.files.AddDrive(letter, letter[0] == 'E' ? platform::DriveType::Removable
                                                              : platform::DriveType::Fixed);
        scan.machine.files.AddFile(std::string(letter) + ":\\Tools\\plantedspywarefile.exe", "MZ");
    }
    settings.WriteSetting("Drives", "F", "False");

    EXPECT_EQ(Start(ui::kFullSystemScan), ScanOutcome::Completed);

    Strings letters;
    std::vector<bool> ticks;
    for (const ui::ListItem& row : form.lvwHardDrives.Rows()) {
        letters.push_back(row.text);
        ticks.push_back(row.checked);
    }
    EXPECT_EQ(letters, (Strings{"C", "D", "E", "F"}));
    EXPECT_EQ(ticks, (std::vector<bool>{true, false, true, false}));
    Strings locations;
    for (const ui::ListItem& row : Results().Rows()) locations.push_back(row.subItems.at(0));
    EXPECT_EQ(locations, Strings{"E:\\Tools\\plantedspywarefile.exe"});
}

TEST_F(ScanControllerTest, OnlyAScheduledAutoDeletingScanTicksAndRemovesItsFindings) {
    PlantSpyware();
    WriteCompleteSet();

    Start();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "remove"), 0);

    calls.clear();
    controller.SetAutoDelete(true);
    Start();
    // The removal is an operation of its own: it starts once the scan has
    // closed. The report follows it, so that it tells what was removed.
    EXPECT_EQ(calls, (Strings{"clear problems", "timers off", "timers on", "results page", "remove", "report"}));
    EXPECT_TRUE(Results().Item(0).checked);
    EXPECT_EQ(presenter.Ticked().size(), 1u) << "the tick names the detection for the removal";
}

TEST_F(ScanControllerTest, StartLabelActsOnlyWhileStartIsEnabled) {
    WriteCompleteSet();
    form.cmdScanNow.SetEnabled(false);
    controller.lblStart_Click();
    EXPECT_TRUE(calls.empty());

    form.cmdScanNow.SetEnabled(true);
    controller.lblStart_Click();
    EXPECT_EQ(calls.front(), "scan page");
    EXPECT_EQ(Setting(keys::kLblLastScan), Now());
}

}  // namespace
}  // namespace bastion
