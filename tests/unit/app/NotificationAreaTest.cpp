#include <gtest/gtest.h>

#include "LifecycleFixture.h"
#include "app/NotificationArea.h"
#include "services/settings/SettingKeys.h"
#include "support/FakeTray.h"

namespace bastion {
namespace {

using ui::TrayEvent;

// The program on a fake machine with a notification area that holds its
// icon (or not), and a window that records being brought back.
struct NotificationAreaTest : ::testing::Test {
    NotificationAreaTest() {
        run.lifecycle.Load();
        run.app.form.SetVisible(true);
        run.window.calls.clear();
    }
    TrayWindowSeams Seams() {
        TrayWindowSeams seams;
        seams.restoreNormal = [this] { run.window.calls.push_back("restore"); };
        seams.shownOnScreen = [this] { return run.app.form.Visible() && !minimized; };
        return seams;
    }
    std::string Minimized() { return run.app.settings.Read(services::settings::kMinimized); }
    ui::FrmMain& Form() { return run.app.form; }

    testing::FakePlatform machine;
    testing::ProgramRun run{machine};
    testing::FakeTray tray;
    bool minimized = false;
    NotificationArea area{run.app, tray, run.lifecycle, Seams()};
};

TEST_F(NotificationAreaTest, GoingToTheTrayAndComingBackByTheIconAndTheMenu) {
    area.MinimizeToTray();
    EXPECT_TRUE(tray.IconPresent());
    EXPECT_EQ(tray.tip, "Testwall");
    EXPECT_FALSE(Form().Visible());
    EXPECT_EQ(run.window.Count("minimize"), 1);
    EXPECT_TRUE(area.menu.Visible()) << "the menu announces the tray";
    EXPECT_TRUE(area.menu.mnuMaxmimaize.Enabled());
    EXPECT_EQ(Minimized(), "Yes");

    // A double click: back in normal state, the menu gone.
    tray.User(TrayEvent::DoubleClick);
    EXPECT_TRUE(Form().Visible());
    EXPECT_EQ(run.window.Count("restore"), 1);
    EXPECT_FALSE(area.menu.Visible());

    // A click opens the menu, the keyboard opens it with the focus in it;
    // "Show Program" is greyed while the window is on the screen, and
    // brings a hidden one back.
    int focused = 0;
    area.menu.takeFocus = [&] { ++focused; };
    tray.User(TrayEvent::Select);
    EXPECT_TRUE(area.menu.Visible());
    EXPECT_FALSE(area.menu.mnuMaxmimaize.Enabled());
    EXPECT_EQ(focused, 0);
    tray.User(TrayEvent::KeySelect);
    EXPECT_EQ(focused, 1);
    area.MinimizeToTray();
    area.menu.mnuMaxmimaize.Click();
    EXPECT_TRUE(Form().Visible());
    EXPECT_EQ(run.window.Count("restore"), 2);
}

TEST_F(NotificationAreaTest, TheWindowIsNeverHiddenWhileNoIconHoldsIt) {
    tray.shellAccepts = false;
    minimized = true;
    area.MinimizeToTray();
    EXPECT_TRUE(Form().Visible()) << "minimized, but on the taskbar";
    EXPECT_TRUE(tray.bRunningInTray()) << "the add is retried";
    run.lifecycle.Resized(WindowShowState::Minimized, true);
    EXPECT_EQ(run.window.calls.back(), "task list on");

    // The retried add comes through: the window goes to the tray.
    tray.SetPresent(true);
    EXPECT_FALSE(Form().Visible());
    run.lifecycle.Resized(WindowShowState::Minimized, false);
    EXPECT_EQ(run.window.calls.back(), "task list off");

    // Explorer restarts and refuses the icon: the window comes back to the
    // taskbar, minimized.
    run.window.calls.clear();
    tray.SetPresent(false);
    EXPECT_TRUE(Form().Visible());
    EXPECT_EQ(run.window.calls, (std::vector<std::string>{"task list on", "minimize"}));
}

TEST_F(NotificationAreaTest, ExitProgramWaitsForTheRunningOperationAndTakesTheIcon) {
    area.MinimizeToTray();
    bool stopAsked = false;
    auto operation = run.app.operations.TryBegin("scan", [&] { stopAsked = true; });
    tray.User(TrayEvent::Select);
    area.menu.mnuClose.Click();
    EXPECT_TRUE(stopAsked);
    EXPECT_EQ(run.window.Count("end"), 0) << "the scan has not returned yet";
    EXPECT_TRUE(tray.IconPresent());

    operation.Finish();
    EXPECT_EQ(run.window.Count("end"), 1);
    EXPECT_FALSE(tray.IconPresent());
    EXPECT_EQ(run.app.settings.Read(services::settings::kStatus), "STOPPED");
}

}  // namespace
}  // namespace bastion
