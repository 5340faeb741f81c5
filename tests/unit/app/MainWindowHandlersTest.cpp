#include "app/MainWindowHandlers.h"
#include "app/StartupSequence.h"

#include <gtest/gtest.h>

#include <map>

#include "definitions/DataFiles.h"
#include "report/ScanReport.h"
#include "services/settings/MachineSettingsStore.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

using testing::AskedDialog;
using testing::ShellCall;

struct MainWindowHandlersTest : ::testing::Test {
    MainWindowHandlersTest() {
        actions.closeSteps = [this] { ++calls["closeSteps"]; };
        actions.closeWindow = [this] { ++calls["closeWindow"]; };
        actions.sendAnonymousData = [this] { ++calls["sendAnonymousData"]; };
        actions.runLiveUpdate = [this] { ++calls["runLiveUpdate"]; };
        actions.minimizeToTray = [this] { ++calls["minimizeToTray"]; };
        actions.changeLanguage = [this] { ++calls["changeLanguage"]; };
    }

    std::vector<std::string> VisiblePages() {
        std::vector<std::string> shown;
        for (ui::Frame* page : app.form.Pages()) {
            if (page->Visible()) shown.push_back(page->Name());
        }
        return shown;
    }

    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    App app{machine.Bundle(), dialogs, pump, testing::TestIdentity()};
    MainWindowActions actions;
    std::map<std::string, int> calls;
    ui::FrmMain& form = app.form;
    ui::ListView& results = app.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
};

TEST_F(MainWindowHandlersTest, EveryPageSwitchShowsOnePageAndTakesTheRemovalProgressAway) {
    MainWindowHandlers handlers(app, actions);
    struct Switch {
        std::function<void()> click;
        const char* page;
    };
    const Switch switches[] = {{[&] { form.cmdScan.Click(); }, "frmScan"},
                               {[&] { form.cmdResults.Click(); }, "frmResults"},
                               {[&] { form.cmdSettings.Click(); }, "frmOptions"},
                               {[&] { form.cmdStatus.Click(); }, "frmStatus"},
                               {[&] { form.Command1.Click(); }, "frmScan"},
                               {[&] { form.mnuScanNow.Click(); }, "frmScan"}};
    for (const Switch& each : switches) {
        for (ui::Frame* page : form.Pages()) page->SetVisible(true);
        for (ui::Control* progress : std::initializer_list<ui::Control*>{
                 &form.pgbDeleteSpywaresFound, &form.lblDeletingPercentageCompleted, &form.lblDeletingCaption}) {
            progress->SetVisible(true);
        }
        each.click();
        EXPECT_EQ(VisiblePages(), std::vector<std::string>{each.page});
        EXPECT_FALSE(form.pgbDeleteSpywaresFound.Visible());
        EXPECT_FALSE(form.lblDeletingPercentageCompleted.Visible());
        EXPECT_FALSE(form.lblDeletingCaption.Visible());
    }
}

TEST_F(MainWindowHandlersTest, SettingsMenuShowsOptionsWithOnlyThatTabsFrame) {
    MainWindowHandlers handlers(app, actions);
    form.mnuSettingsItem[2].Click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"frmOptions"});
    EXPECT_EQ(form.TabStrip1.Selected(), 2);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(form.frmView[i].Visible(), i == 2) << i;

    // The tab strip itself, and the menu for the tab already selected.
    form.TabStrip1.Select(1);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(form.frmView[i].Visible(), i == 1) << i;
    form.frmView[3].SetVisible(true);
    form.mnuSettingsItem[1].Click();
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(form.frmView[i].Visible(), i == 1) << i;
}

TEST_F(MainWindowHandlersTest, ResultsWithNothingFoundSendTheAnonymousDataEachTimeWhileAllowed) {
    MainWindowHandlers handlers(app, actions);
    form.chkSendData.SetValue(ui::kChecked);
    form.cmdResults.Click();
    form.cmdResults.Click();
    EXPECT_EQ(calls["sendAnonymousData"], 2);

    results.Add("Planted Spy", ui::kIconFile);
    form.cmdResults.Click();
    EXPECT_EQ(calls["sendAnonymousData"], 2);

    results.Clear();
    form.chkSendData.SetValue(ui::kUnchecked);
    form.cmdResults.Click();
    EXPECT_EQ(calls["sendAnonymousData"], 2);
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"frmResults"});
}

TEST_F(MainWindowHandlersTest, EachHomeScanButtonStartsItsOwnKindOnTheScanPage) {
    MainWindowHandlers handlers(app, actions);
    const std::pair<ui::CommandButton*, int> buttons[] = {{&form.cmdMainScan, ui::kSmartScan},
                                                          {&form.cmdMainScan1, ui::kFullSystemScan},
                                                          {&form.cmdMainScan2, ui::kFileScan},
                                                          {&form.cmdMainScan3, ui::kFolderScan}};
    for (auto [button, kind] : buttons) {
        form.optScan[static_cast<std::size_t>((kind + 1) % 4)].SetValue(true);
        form.cmdStatus.Click();
        form.lblStatus.SetCaption("");
        const std::size_t asked = dialogs.Asked().size();
        button->Click();
        EXPECT_TRUE(form.optScan[static_cast<std::size_t>(kind)].Value()) << button->Name();
        EXPECT_EQ(VisiblePages(), std::vector<std::string>{"frmScan"}) << button->Name();
        EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.") << button->Name();
        // The file and folder scans begin by asking what to scan.
        ASSERT_GT(dialogs.Asked().size(), asked) << button->Name();
        const AskedDialog::Kind first = dialogs.Asked()[asked].kind;
        EXPECT_EQ(first == AskedDialog::Kind::OpenFile, kind == ui::kFileScan) << button->Name();
        EXPECT_EQ(first == AskedDialog::Kind::BrowseFolder, kind == ui::kFolderScan) << button->Name();
    }
}

TEST_F(MainWindowHandlersTest, StartLabelScansOnlyWhileStartCanBePressed) {
    MainWindowHandlers handlers(app, actions);
    form.cmdScanNow.SetEnabled(false);
    form.lblStart.Click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"frmStatus"});
    EXPECT_TRUE(dialogs.Asked().empty());

    form.cmdScanNow.SetEnabled(true);
    form.lblStart.Click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"frmScan"});
    EXPECT_EQ(form.lblStatus.Caption(), "Scanning complete.");
}

TEST_F(MainWindowHandlersTest, ClosingAndLaterFeaturesGoThroughTheirActions) {
    MainWindowHandlers handlers(app, actions);
    form.lblHide.Click();
    form.mnuExit.Click();
    form.cmdUpdate.Click();
    form.mnuLiveUpdate.Click();
    form.mnuMinimizeToTray.Click();
    form.mnuChangeLanguage.Click();
    EXPECT_EQ(calls, (std::map<std::string, int>{{"closeSteps", 1},
                                                 {"closeWindow", 1},
                                                 {"runLiveUpdate", 2},
                                                 {"minimizeToTray", 1},
                                                 {"changeLanguage", 1}}));

    // Without actions nothing happens, and nothing fails.
    MainWindowHandlers bare(app, {});
    form.lblHide.Click();
    form.mnuExit.Click();
    form.cmdLog.Click();
}

TEST_F(MainWindowHandlersTest, ReportViewerOpensModallyFromItsThreeCommandsWithShowReportDisabled) {
    int shown = 0;
    actions.showReportModal = [&](ui::FrmReport& viewer) {
        ++shown;
        EXPECT_TRUE(viewer.Visible());
        EXPECT_FALSE(form.lblViewLogFile.Enabled());
        EXPECT_EQ(viewer.Caption(), "Testwall Log");
        EXPECT_EQ(viewer.txtReport.Text(), "Total = 0\r\n");
        viewer.cmdOk.Click();
    };
    MainWindowHandlers handlers(app, actions);
    machine.files.AddFile(ReportPath(app.dataFolder), "Total = 0\r\n\r\n");
    form.cmdLog.Click();
    form.mnuViewLog.Click();
    form.lblViewLogFile.Click();
    EXPECT_EQ(shown, 3);
    EXPECT_TRUE(form.lblViewLogFile.Enabled());
    EXPECT_FALSE(handlers.ReportViewer().Visible());
}

TEST_F(MainWindowHandlersTest, EveryWindowWithAModalLoopOfItsOwnHoldsBackTheBackgroundWork) {
    std::map<std::string, bool> idleInside;
    actions.showReportModal = [&](ui::FrmReport&) { idleInside["report"] = app.operations.Idle(); };
    actions.showAboutModal = [&](ui::FrmAbout&) { idleInside["about"] = app.operations.Idle(); };
    actions.showRestoreModal = [&](ui::FrmRestore&) { idleInside["restore"] = app.operations.Idle(); };
    actions.showDeleteFailedModal = [&](ui::FrmDelete&) { idleInside["delete failed"] = app.operations.Idle(); };
    MainWindowHandlers handlers(app, actions);
    machine.files.AddFile(ReportPath(app.dataFolder), "Total = 0\r\n");
    form.cmdLog.Click();
    form.mnuAboutItem.Click();
    form.mnuQuarRestore.Click();
    app.removal.Hooks().showDeleteFailed();
    EXPECT_EQ(idleInside, (std::map<std::string, bool>{
                              {"about", false}, {"delete failed", false}, {"report", false}, {"restore", false}}));
    EXPECT_TRUE(app.operations.Idle()) << "and lets it go when closed";
}

TEST_F(MainWindowHandlersTest, ViewExclusionsOpensTheFileInNotepadOrSaysThereIsNone) {
    MainWindowHandlers handlers(app, actions);
    form.mnuQuarItem[1].Click();
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text, "No exclusion file exists yet.");
    EXPECT_EQ(dialogs.Asked()[0].title, "No Exclusion File");
    EXPECT_TRUE(machine.shell.calls.empty());

    const std::string file = DataFilePath(app.dataFolder, "ENoSignature.dat");
    machine.files.AddFile(file, "C:\\x.exe\r\n");
    form.mnuQuarItem[1].Click();
    EXPECT_EQ(machine.shell.calls,
              (std::vector<ShellCall>{{ShellCall::Kind::StartProgram, "\"C:\\WINDOWS\\notepad.exe\" \"" + file + "\"",
                                       platform::ShowWindow::Normal}}));

    // View Quarantine makes the folder when it is missing and shows it.
    machine.shell.calls.clear();
    form.mnuQuarItem[0].Click();
    const std::string quarantine = app.dataFolder + "\\quarantine";
    EXPECT_TRUE(machine.files.HasFolder(quarantine));
    EXPECT_EQ(machine.shell.calls,
              (std::vector<ShellCall>{{ShellCall::Kind::StartProgram,
                                       "\"C:\\WINDOWS\\explorer.exe\" \"" + quarantine + "\"",
                                       platform::ShowWindow::Normal}}));
}

TEST_F(MainWindowHandlersTest, AboutWindowNamesTheProductAndItsWebsiteLabelOpensTheSite) {
    std::string caption;
    actions.showAboutModal = [&](ui::FrmAbout& about) {
        caption = about.Caption();
        EXPECT_EQ(about.lblProductName.Caption(), "Testwall");
        EXPECT_EQ(about.lblCompanyName.Caption(), "Testwall Labs");
        EXPECT_EQ(about.lblVersion.Caption(), "4.2");
        EXPECT_EQ(about.lblWebsite.Caption(), "www.testwall.example");
        about.lblWebsite.Click();
    };
    MainWindowHandlers handlers(app, actions);
    form.mnuAboutItem.Click();
    EXPECT_EQ(caption, "About Testwall");
    EXPECT_EQ(machine.shell.calls, (std::vector<ShellCall>{{ShellCall::Kind::Open, "http://www.testwall.example",
                                                            platform::ShowWindow::Normal}}));
    EXPECT_TRUE(handlers.Website().Visible()) << "open for its timer's second";
}

TEST_F(MainWindowHandlersTest, ViewHelpOpensTheHelpFileBesideTheProgram) {
    MainWindowHandlers handlers(app, actions);
    form.mnuViewHelp.Click();
    EXPECT_TRUE(machine.shell.calls.empty()) << "no help file";

    machine.files.AddFile("C:\\Program Files\\Bastion\\Help.chm");
    form.mnuViewHelp.Click();
    EXPECT_EQ(machine.shell.calls, (std::vector<ShellCall>{{ShellCall::Kind::Open,
                                                            "C:\\Program Files\\Bastion\\Help.chm",
                                                            platform::ShowWindow::Normal}}));
    services::MachineSettingsStore store(machine.registry, "Testwall Labs", "Testwall", app.settings, dialogs);
    EXPECT_EQ(store.Read(services::settings::kMachineShowHelp).value, "0");
}

TEST_F(MainWindowHandlersTest, TheOptionPageListsTheDrivesAndATickComesBackAtTheNextStart) {
    machine.files.AddDrive("D", platform::DriveType::Fixed);
    MainWindowHandlers handlers(app, actions);
    LoadOptionPage(app);
    ui::ListView& drives = form.lvwHardDrives;
    ASSERT_EQ(drives.Count(), 2u);
    EXPECT_TRUE(drives.Item(0).checked && drives.Item(1).checked) << "a drive never stored is ticked";
    drives.ItemCheck(1, false);

    testing::ScriptedEventPump laterPump;
    App later{machine.Bundle(), dialogs, laterPump, testing::TestIdentity()};
    MainWindowHandlers laterHandlers(later, actions);
    LoadOptionPage(later);
    ASSERT_EQ(later.form.lvwHardDrives.Count(), 2u);
    EXPECT_TRUE(later.form.lvwHardDrives.Item(0).checked);
    EXPECT_FALSE(later.form.lvwHardDrives.Item(1).checked);
}

}  // namespace
}  // namespace bastion
