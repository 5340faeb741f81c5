// The memory shield in a running program: its ticks, its alerts one after
// the other, and what STOP, ALLOW and closing an alert do.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "support/ScanHarness.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = ui::settings;
using testing::ScanHarness;
using Rows = std::vector<std::string>;

struct MemoryShieldTest : testing::ShieldFixture {
    MemoryShieldTest() {
        WriteDefinitions({"evil.exe=Evil|C:\\Spy", "bad.exe=Bad|"});
        machine.processes.Add(4, "C:\\WINDOWS\\explorer.exe");
    }
    void Tick() { form.tmrMemoryInspected.Tick(); }
    std::string Exclusions() {
        return machine.files.Content(DataFilePath(run.app.dataFolder, datafile::kExclusions)).value_or("");
    }
};

TEST_F(MemoryShieldTest, TwoThreatsGiveTwoAlertsInTurnEachAnsweredByItsOwnButton) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    machine.processes.Add(12, "C:\\Downloads\\bad.exe");
    // A program of the same name in another folder is a detection of its
    // own: STOP ends the one it was asked about.
    machine.processes.Add(16, "D:\\Games\\evil.exe");
    bool firstEndedBeforeSecondAlert = false;
    bool timersHeldWhileAsking = false;
    AtNextAlert([&](ui::AlertForm& alert) {
        timersHeldWhileAsking = !form.tmrMemoryInspected.Enabled() && !run.app.operations.Idle();
        testing::PressYes(alert);
    });
    AtNextAlert([&](ui::AlertForm& alert) {
        firstEndedBeforeSecondAlert = !machine.processes.IsRunning(8);
        testing::PressNo(alert);
    });
    AtNextAlert(testing::CloseBox);

    Tick();

    EXPECT_EQ(opened, (Rows{"EVIL.EXE", "BAD.EXE", "EVIL.EXE"}));
    EXPECT_TRUE(firstEndedBeforeSecondAlert);
    EXPECT_TRUE(timersHeldWhileAsking);
    EXPECT_FALSE(machine.processes.IsRunning(8));
    EXPECT_TRUE(machine.processes.IsRunning(12));
    EXPECT_TRUE(machine.processes.IsRunning(16)) << "closed unanswered: nothing stopped";
    EXPECT_EQ(Exclusions(), "BAD.EXE\r\n");
    // Outside a scan the scan page stays as the last scan left it.
    EXPECT_TRUE(run.app.state.ActivityList().Empty());
    EXPECT_EQ(run.app.state.counters.itemsFound, 0);
    EXPECT_EQ(run.app.state.counters.processesInspected, 0);
    EXPECT_TRUE(form.tmrMemoryInspected.Enabled());
    EXPECT_TRUE(run.app.operations.Idle());
    EXPECT_FALSE(run.app.memoryShield.alert.Visible());

    // A program stopped since: the next tick looks again and asks about
    // the one left unanswered; after that nothing is left to ask about.
    AtNextAlert(testing::PressYes);
    Tick();
    Tick();
    EXPECT_EQ(opened, (Rows{"EVIL.EXE", "BAD.EXE", "EVIL.EXE", "EVIL.EXE"}));
    EXPECT_FALSE(machine.processes.IsRunning(16));

    // The allowed program shows as excluded in the next scan.
    run.app.settings.Write(keys::kChkScanCookies, "0");
    run.app.controller.cmdScanNow_Click();
    const Rows activity = ScanHarness::Rows(run.app.state.ActivityList());
    EXPECT_NE(std::find(activity.begin(), activity.end(), "EXCLUDED|BAD.EXE#5/0"), activity.end());
}

TEST_F(MemoryShieldTest, AnExitWhileAnAlertWaitsClosesItAndEndsAfterTheTick) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    machine.processes.Add(12, "C:\\Downloads\\bad.exe");
    AtNextAlert([this](ui::AlertForm&) {
        run.lifecycle.CloseMainWindow();
        EXPECT_EQ(run.window.Count("end"), 0) << "the tick returns first";
    });

    Tick();

    EXPECT_EQ(opened.size(), 1u) << "no second alert once the program ends";
    EXPECT_TRUE(machine.processes.IsRunning(8));
    EXPECT_TRUE(Exclusions().empty());
    EXPECT_EQ(run.window.Count("end"), 1);
    EXPECT_FALSE(run.app.memoryShield.alert.Visible());
}

TEST_F(MemoryShieldTest, TheShieldLooksOnlyWhenOnAndIdleAndStillAfterAStoppedScan) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    run.app.settings.Write(keys::kOptMemorySheildOn, "False");
    Tick();
    {
        run.app.settings.Write(keys::kOptMemorySheildOn, "True");
        auto update = run.app.operations.TryBegin("update");
        Tick();
    }
    EXPECT_TRUE(opened.empty());

    // The user stopped the last scan; the flag stays set until the next
    // scan, and the shield keeps watching.
    run.app.state.RequestStop();
    machine.processes.Find(8)->unkillable = true;
    run.dialogs.AnswerMessageBox(ui::MsgResult::Ok);
    AtNextAlert(testing::PressYes);
    Tick();
    EXPECT_EQ(opened, (Rows{"EVIL.EXE"}));
    const auto boxes = run.dialogs.AskedMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "EVIL.EXE Could not be stopped.  You should try again after saving your work and closing any open "
              "applications.");
    EXPECT_EQ(boxes[0].title, "Testwall");
}

}  // namespace
}  // namespace bastion
