#include <gtest/gtest.h>

#include "LifecycleFixture.h"
#include "app/MainWindowHandlers.h"
#include "app/StartupSequence.h"
#include "services/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using testing::Stored;

struct MainWindowExitTest : ::testing::Test {
    MainWindowExitTest() { run.lifecycle.Load(); }
    std::string Setting(std::string_view section, std::string_view key) {
        return Stored(run.app.settings, "Testwall", section, key);
    }
    ui::ListView& Results() { return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }

    testing::FakePlatform machine;
    testing::ProgramRun run{machine};
    ui::FrmMain& form = run.app.form;
};

TEST_F(MainWindowExitTest, ClosingPublishesTheStopStoresTheWindowClosesTheOthersAndEnds) {
    run.window.calls.clear();
    run.window.maximized = true;
    Results().SetColumnWidth(0, 3000);
    Results().SetColumnWidth(4, 2222.5);
    form.SetVisible(true);

    run.lifecycle.CloseMainWindow();

    EXPECT_EQ(Setting("OptionAndSettings", "STATUS"), "STOPPED");
    EXPECT_EQ(Setting("OptionAndSettings", "RESTART"), "False");
    EXPECT_EQ(Setting("Settings", "FoundCol21"), "3000");
    EXPECT_EQ(Setting("Settings", "FoundCol25"), "2222");
    EXPECT_EQ(Setting("Settings", "FoundCol26"), "<missing>");
    EXPECT_EQ(Setting("Settings", "Max"), "1");
    EXPECT_FALSE(form.Visible());
    const std::vector<std::string> expected{"tray off", "minimize", "close about", "close report", "end"};
    EXPECT_EQ(run.window.calls, expected);
}

TEST_F(MainWindowExitTest, TheCloseLabelStoresTheWindowAndTakesTheIconButLeavesTheRunStateAlone) {
    run.window.calls.clear();
    run.lifecycle.StoreWindowAndEnd();
    EXPECT_EQ(Setting("OptionAndSettings", "STATUS"), "RUNNING");
    EXPECT_EQ(Setting("Settings", "Max"), "0");
    EXPECT_NE(Setting("Settings", "FoundCol21"), "<missing>");
    EXPECT_EQ(run.window.Count("tray off"), 1) << "no icon outlives the program";
    EXPECT_EQ(run.window.Count("end"), 1);
}

TEST_F(MainWindowExitTest, AVisibleWebsiteWindowKeepsTheProgramUntilItCloses) {
    run.lifecycle.WebsiteWindowClosed();
    EXPECT_EQ(run.window.Count("end"), 0) << "no exit was waiting";

    run.window.websiteVisible = true;
    run.lifecycle.CloseMainWindow();
    EXPECT_EQ(Setting("OptionAndSettings", "STATUS"), "STOPPED");
    EXPECT_EQ(run.window.Count("end"), 0);
    EXPECT_TRUE(run.lifecycle.EndingWhenWebsiteCloses());
    EXPECT_FALSE(run.app.state.StopRequested()) << "the program goes on until the website window closes";

    run.lifecycle.WebsiteWindowClosed();
    EXPECT_EQ(run.window.Count("end"), 1);
    run.lifecycle.WebsiteWindowClosed();
    EXPECT_EQ(run.window.Count("end"), 1);
}

TEST_F(MainWindowExitTest, TheNextStartOpensTheWindowAsThisOneClosed) {
    Results().SetColumnWidth(1, 5123);
    run.window.maximized = true;
    run.lifecycle.CloseMainWindow();

    testing::ProgramRun next(machine);
    ASSERT_EQ(next.lifecycle.Load(), LoadResult::Running);
    LoadOptionPage(next.app);
    const auto& columns = next.app.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].widthTwips, Results().Columns()[i].widthTwips) << "column " << i;
    }
    EXPECT_EQ(next.window.Count("maximize"), 1);
    EXPECT_EQ(Setting("OptionAndSettings", "STATUS"), "RUNNING");
}

TEST_F(MainWindowExitTest, BackInNormalStateTheScrollTimerRunsAndTheShieldsAndSchedulerKeepWatching) {
    form.tmrScroll.SetEnabled(false);
    run.app.settings.Write(keys::kChkAutomaticScanYesOrNo, "1");
    run.app.shieldTimers.EnableShieldTimers(true);
    run.window.calls.clear();

    run.lifecycle.Resized(WindowShowState::Minimized, true);
    EXPECT_TRUE(form.tmrScheduler.Running());
    EXPECT_TRUE(form.tmrMemoryInspected.Running());
    EXPECT_FALSE(form.tmrScroll.Enabled());
    run.lifecycle.Resized(WindowShowState::Maximized, true);
    // The taskbar button follows the window's visibility, whatever its
    // state: a maximized window keeps it.
    EXPECT_EQ(run.window.calls, (std::vector<std::string>{"task list on", "task list on"}));

    run.app.settings.Write(keys::kMinimized, keys::kYes);
    // A window not yet shown (while it is created) leaves "Minimized".
    run.lifecycle.Resized(WindowShowState::Normal, false);
    EXPECT_EQ(Setting("Settings", "Minimized"), "Yes");
    run.lifecycle.Resized(WindowShowState::Normal, true);
    EXPECT_EQ(Setting("Settings", "Minimized"), "No");
    EXPECT_TRUE(form.tmrScheduler.Running());
    EXPECT_TRUE(form.tmrMemoryInspected.Running());
    EXPECT_TRUE(form.tmrScroll.Enabled());
    EXPECT_EQ(run.window.calls.back(), "task list on");
    EXPECT_EQ(run.window.Count("task list off"), 1) << "only while not shown";

    // Its tick only lets pending events run.
    const int before = run.pump.CallCount();
    form.tmrScroll.Tick();
    EXPECT_EQ(run.pump.CallCount(), before + 1);
}

}  // namespace
}  // namespace bastion
