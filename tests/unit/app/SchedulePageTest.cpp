// The Schedule tab in a running program: what it shows, what "Apply" and
// "Reset" store, and a scheduled scan from the stored schedule to the
// automatic removal.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "app/MainWindowHandlers.h"
#include "app/StartupSequence.h"
#include "common/Text.h"
#include "report/ScanReport.h"
#include "scheduler/Schedule.h"
#include "services/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = services::settings;

struct SchedulePageTest : testing::ShieldFixture {
    std::string Stored(const services::SettingKey& key) { return run.app.settings.Read(key, "<missing>"); }
    void Choose(int day) { form.cmbDays.SetListIndex(day); }
    // The user ticks the box, chooses the day and sets the pickers.
    void Enter(int day, std::optional<DateTime> date, std::optional<DateTime> time) {
        if (!form.chkAutomaticScanYesOrNo.Checked()) form.chkAutomaticScanYesOrNo.Click();
        Choose(day);
        form.dtpScheduleDate.SetValue(date);
        form.dtpScheduleTime.SetValue(time);
    }
    std::vector<bool> Enabled() {
        return {form.cmbDays.Enabled(), form.dtpScheduleDate.Enabled(), form.dtpScheduleTime.Enabled(),
                form.CmdProceed.Enabled()};
    }

    SchedulePage& page = run.app.schedulePage;
};

TEST_F(SchedulePageTest, ShowScheduleShowsWhatIsStoredAndStartsNothing) {
    page.ShowSchedule();
    EXPECT_FALSE(form.chkAutomaticScanYesOrNo.Checked());
    EXPECT_EQ(form.cmbDays.Text(), "Daily");
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, false}));

    run.app.settings.Write(keys::kChkAutomaticScanYesOrNo, "1");
    run.app.settings.Write(keys::kDay, "2");
    run.app.settings.Write(keys::kTime, "3/16/2006 9:00:00 AM");
    page.ShowSchedule();
    EXPECT_TRUE(form.chkAutomaticScanYesOrNo.Checked());
    EXPECT_EQ(form.cmbDays.Text(), "Wednesday");
    EXPECT_EQ(form.dtpScheduleTime.Value(), (DateTime{2006, 3, 16, 9, 0, 0}));
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, false})) << "filled from code: no Apply";
    EXPECT_FALSE(form.tmrScheduler.Running()) << "filled from code: no timer";
    EXPECT_EQ(run.app.scheduler.Current(), LoadSchedule(run.app.settings));

    // A day that is not a position of the list is no schedule.
    run.app.settings.Write(keys::kDay, "Wednesday");
    page.ShowSchedule();
    EXPECT_EQ(form.cmbDays.Text(), "Never");
    EXPECT_EQ(run.app.scheduler.Current().day, kScheduleNever);
}

TEST_F(SchedulePageTest, TheBoxAndTheDayListEnableWhatTheScheduleNeeds) {
    page.ShowSchedule();
    form.chkAutomaticScanYesOrNo.Click();
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, true}));
    form.dtpScheduleTime.SetValue(DateTime{2006, 3, 16, 9, 0, 0});
    Choose(kScheduleDateAndTime);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, true}));
    form.dtpScheduleDate.SetValue(DateTime{2006, 3, 18, 0, 0, 0});
    Choose(kScheduleNever);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, false, true}));
    EXPECT_FALSE(form.dtpScheduleDate.Value() || form.dtpScheduleTime.Value());
    Choose(0);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, true}));
    form.chkAutomaticScanYesOrNo.Click();
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true}));
}

TEST_F(SchedulePageTest, ApplyRefusesASchedulThatCannotRunWarnsOfAPastDateAndStoresTheRest) {
    // What the time picker holds once ticked: a time of day on the zero date.
    const DateTime noon{1899, 12, 30, 12, 0, 0};
    const DateTime tomorrow{2006, 3, 17, 0, 0, 0};
    struct Case {
        const char* name;
        int day;
        std::optional<DateTime> date;
        std::optional<DateTime> time;
        const char* message;  // nullptr: none
        const char* storedDay;
    };
    const Case cases[] = {
        {"Daily without a time", kScheduleDaily, std::nullopt, std::nullopt,
         "Please select the time that you want to scan.", "<missing>"},
        {"a date without a time", kScheduleDateAndTime, tomorrow, std::nullopt,
         "Please select the date that you want to scan.", "<missing>"},
        {"a time without a date", kScheduleDateAndTime, std::nullopt, noon,
         "Please select the date that you want to scan.", "<missing>"},
        {"a date gone by", kScheduleDateAndTime, DateTime{2006, 3, 16, 0, 0, 0}, DateTime{1899, 12, 30, 11, 0, 0},
         "The date and time you selected have already passed, so this scan will not run.", "8"},
        {"Never", kScheduleNever, std::nullopt, std::nullopt, nullptr, "9"},
        {"Friday", 4, std::nullopt, noon, nullptr, "4"},
    };
    run.dialogs.SetDefaultMessageBoxAnswer(services::MsgResult::Ok);
    for (const Case& each : cases) {
        machine.registry.DeleteTree(platform::Hive::CurrentUser, services::SettingsStore::SectionPath(
                                                                     "Testwall", keys::kSectionOptionAndSettings));
        page.ShowSchedule();
        const std::size_t asked = run.dialogs.Asked().size();
        Enter(each.day, each.date, each.time);
        form.CmdProceed.Click();
        if (each.message) {
            ASSERT_EQ(run.dialogs.Asked().size(), asked + 1) << each.name;
            EXPECT_EQ(run.dialogs.Asked().back().text, each.message) << each.name;
        } else {
            EXPECT_EQ(run.dialogs.Asked().size(), asked) << each.name;
        }
        EXPECT_EQ(Stored(keys::kDay), each.storedDay) << each.name;
    }
    // Stored: the box, the day, the time and date as texts; "Apply" is done
    // and the timer runs.
    EXPECT_EQ(Stored(keys::kChkAutomaticScanYesOrNo), "1");
    EXPECT_EQ(Stored(keys::kTime), "12:00:00 PM");
    EXPECT_EQ(Stored(keys::kDate), "Null");
    EXPECT_FALSE(form.CmdProceed.Enabled());
    EXPECT_TRUE(form.tmrScheduler.Running());
    EXPECT_EQ(run.app.scheduler.Current().day, 4);

    // Switched off: the day and time stay stored; the timer stops.
    form.chkAutomaticScanYesOrNo.Click();
    form.CmdProceed.Click();
    EXPECT_EQ(Stored(keys::kChkAutomaticScanYesOrNo), "0");
    EXPECT_EQ(Stored(keys::kDay), "4");
    EXPECT_FALSE(form.tmrScheduler.Running());
    EXPECT_FALSE(run.app.scheduler.Current().enabled);
}

TEST_F(SchedulePageTest, ResetShowsTheDefaultsAndStoresNothingUntilApply) {
    run.app.settings.Write(keys::kChkAutomaticScanYesOrNo, "1");
    run.app.settings.Write(keys::kDay, "3");
    run.app.settings.Write(keys::kTime, "9:00:00 AM");
    run.app.settings.Write(keys::kChkAutoDel, "1");
    page.ShowSchedule();
    form.cmdDefaultSetting.Click();
    EXPECT_FALSE(form.chkAutomaticScanYesOrNo.Checked());
    EXPECT_FALSE(form.chkAutoDel.Checked());
    EXPECT_EQ(form.cmbDays.Text(), "Daily");
    EXPECT_FALSE(form.dtpScheduleTime.Value());
    EXPECT_TRUE(form.CmdProceed.Enabled());
    EXPECT_EQ(Stored(keys::kChkAutoDel), "1");
    EXPECT_EQ(Stored(keys::kChkAutomaticScanYesOrNo), "1");
    form.CmdProceed.Click();
    EXPECT_EQ(Stored(keys::kChkAutoDel), "0");
    EXPECT_EQ(Stored(keys::kChkAutomaticScanYesOrNo), "0");

    // The removal box stores at its own click as well.
    form.chkAutoDel.Click();
    EXPECT_EQ(Stored(keys::kChkAutoDel), "1");
}

TEST_F(SchedulePageTest, AScheduledScanRunsUnattendedAndAsksForTheRemovalOfWhatItFound) {
    WriteDefinitions({});
    machine.files.WriteFile(DataFilePath(run.app.dataFolder, datafile::kFileDefinitions),
                            EncodeDefinitionText("planted.exe=Planted|C:\\Spy|Adware") + "\r\n" +
                                EncodeDefinitionText("held.exe=Held|C:\\Spy|Adware") + "\r\n");
    machine.files.AddFile("C:\\Spy\\planted.exe", "MZ");
    machine.files.AddFile("C:\\Spy\\held.exe", "MZ");
    machine.files.LockFile("C:\\Spy\\held.exe");
    run.dialogs.FailOnUnscriptedQuestion();
    int removals = 0;
    const std::function<void()> removeTicked = run.app.controller.Hooks().removeTicked;
    run.app.controller.Hooks().removeTicked = [&] {
        ++removals;
        EXPECT_TRUE(run.app.controller.AutoDelete());
        EXPECT_TRUE(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Item(0).checked);
        removeTicked();
    };
    // A folder scan is chosen, which would ask for its folder.
    form.optScan[ui::kFolderScan].SetValue(true);
    page.ShowSchedule();
    Enter(kScheduleDaily, std::nullopt, AddSeconds(machine.clock.now, 3));
    form.chkAutoDel.Click();
    form.CmdProceed.Click();

    for (int second = 0; second < 10; ++second) {
        machine.clock.Advance(1);
        if (form.tmrScheduler.Running()) form.tmrScheduler.Tick();
    }

    EXPECT_EQ(removals, 1);
    EXPECT_TRUE(form.optScan[ui::kSmartScan].Value());
    EXPECT_EQ(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Count(), 1u) << "what was not removed stays";
    // The report lists both, each with what became of it, and does not say
    // they were all removed.
    const std::string report = machine.files.Content(ReportPath(run.app.dataFolder)).value_or("");
    EXPECT_NE(report.find("Scheduled scan   : 1 of the 2 items found could not be removed automatically"),
              std::string::npos);
    for (const char* block : {"File: C:\\Spy\\planted.exe", "File: C:\\Spy\\held.exe"}) {
        const std::size_t at = report.find(block);
        ASSERT_NE(at, std::string::npos) << block;
        EXPECT_EQ(report.substr(report.find("Removal: ", at), 16),
                  Contains(block, "planted") ? "Removal: removed" : "Removal: failed\r");
    }
    EXPECT_FALSE(run.app.controller.AutoDelete() || run.app.controller.Unattended());

    // A scan the user starts removes nothing by itself.
    run.app.controller.StartScanOfKind(ui::kSmartScan);
    EXPECT_EQ(removals, 1);
}

TEST_F(SchedulePageTest, AScheduledFullSystemScanChosenOnTheOptionsSurvivesARestart) {
    WriteDefinitions({});
    MainWindowHandlers handlers(run.app, {});
    page.ShowSchedule();
    Enter(kScheduleDaily, std::nullopt, AddSeconds(machine.clock.now, 60));
    form.CmdProceed.Click();
    form.optScanAllSelectedHardDrive.Click();
    run.lifecycle.CloseMainWindow();

    testing::ProgramRun next(machine);
    ASSERT_EQ(next.lifecycle.Load(), LoadResult::Running);
    LoadOptionPage(next.app);
    next.app.shieldTimers.EnableShieldTimers(true);
    EXPECT_TRUE(next.app.form.optScanAllSelectedHardDrive.Value()) << "the options show the kind stored";
    for (int second = 0; second < 70; ++second) {
        machine.clock.Advance(1);
        if (next.app.form.tmrScheduler.Running()) next.app.form.tmrScheduler.Tick();
    }
    EXPECT_TRUE(next.app.controller.Times().scheduled);
    EXPECT_NE(next.app.settings.Read(keys::kLblLastFullScan), "Never") << "a Full System Scan ran";
}

TEST_F(SchedulePageTest, AMomentMissedBehindAModalWindowOrWhileTheProgramWasOffShowsOnTheHomePage) {
    WriteDefinitions({});
    MainWindowActions actions;
    // The about window stays open across the scheduled moment; ticks come
    // all the while, as its modal loop lets them.
    actions.showAboutModal = [this](ui::FrmAbout&) {
        for (int second = 0; second < 15 * 60; second += 5) {
            machine.clock.Advance(5);
            if (form.tmrScheduler.Running()) form.tmrScheduler.Tick();
        }
    };
    MainWindowHandlers handlers(run.app, std::move(actions));
    page.ShowSchedule();
    Enter(kScheduleDaily, std::nullopt, AddSeconds(machine.clock.now, 60));
    form.CmdProceed.Click();

    form.mnuAboutItem.Click();
    form.tmrScheduler.Tick();
    EXPECT_FALSE(run.app.controller.Times().scheduled) << "no scan inside the modal window, nor too late after it";
    EXPECT_TRUE(form.lblScheduleMissed.Visible());
    EXPECT_EQ(form.lblScheduleMissed.Caption(), "Scheduled scan missed at 3/16/2006 12:01:00 PM");

    // The next scheduled scan takes the note away.
    machine.clock.Set(DateTime{2006, 3, 17, 12, 0, 50});
    form.tmrScheduler.Tick();
    for (int second = 0; second < 20; ++second) {
        machine.clock.Advance(1);
        form.tmrScheduler.Tick();
    }
    EXPECT_TRUE(run.app.controller.Times().scheduled);
    EXPECT_FALSE(form.lblScheduleMissed.Visible());

    // The program ends before the next moment and starts two days later.
    run.lifecycle.CloseMainWindow();
    machine.clock.Set(DateTime{2006, 3, 19, 9, 0, 0});
    testing::ProgramRun next(machine);
    ASSERT_EQ(next.lifecycle.Load(), LoadResult::Running);
    LoadOptionPage(next.app);
    EXPECT_EQ(next.app.form.lblScheduleMissed.Caption(), "Scheduled scan missed at 3/18/2006 12:01:00 PM");
}

}  // namespace
}  // namespace bastion
